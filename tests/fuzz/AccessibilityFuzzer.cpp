#include "Form1.h"
#include "FuzzText.h"

#include "LimitLength.h"

#include <QAccessible>
#include <QApplication>
#include <QEventLoop>
#include <QLineEdit>
#include <QMessageBox>
#include <QPlainTextEdit>
#include <QTimer>

#include <atomic>
#include <chrono>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <thread>
#include <utility>

// A screen reader's requests, as many and as odd as the input makes them, to every accessible
// interface of the window and of an error box it opens: every call must return, and the window
// must keep its rules (the boxes within their limits and in whole characters, Text5 as written,
// never more than one box open).

namespace {

using Clock = std::chrono::steady_clock;

// Far more than any call needs, even under the sanitizers; a call that loops is caught here.
constexpr auto callLimit = std::chrono::seconds(3);
std::atomic<Clock::rep> deadline{0};
std::atomic<const char *> callName{""};
// A Press clicks its button a moment later; the next step waits for that.
bool pressed = false;

class Timed
{
public:
    explicit Timed(const char *name)
    {
        callName = name;
        deadline = (Clock::now() + callLimit).time_since_epoch().count();
    }
    ~Timed() { deadline = 0; }
    Timed(const Timed &) = delete;
    Timed &operator=(const Timed &) = delete;
};

void watch()
{
    for (;;) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        const Clock::rep due = deadline;
        if (due != 0 && Clock::now().time_since_epoch().count() > due) {
            std::fprintf(stderr, "an accessibility call did not return: %s\n", callName.load());
            std::abort();
        }
    }
}

int offsetIn(FuzzedDataProvider &data, int count)
{
    switch (data.ConsumeIntegralInRange(0, 8)) {
    case 0:
        return data.ConsumeIntegral<int>();
    case 1:
        return -1;
    case 2:
        return -2;
    case 3:
        return count;
    case 4:
        return count + 1;
    case 5:
        return std::numeric_limits<int>::min();
    case 6:
        return std::numeric_limits<int>::max();
    default:
        return data.ConsumeIntegralInRange(0, std::max(count, 0));
    }
}

QString textFrom(FuzzedDataProvider &data)
{
    return QString::fromStdU16String(fuzz::decodeText(data.ConsumeRandomLengthString(24)));
}

void collect(QAccessibleInterface *accessible, QList<QAccessibleInterface *> &all, int depth)
{
    if (!accessible || depth > 4)
        return;
    all.append(accessible);
    for (int i = 0; i < accessible->childCount(); ++i)
        collect(accessible->child(i), all, depth + 1);
}

void callText(FuzzedDataProvider &data, QAccessibleTextInterface *text)
{
    const int count = text->characterCount();
    const auto boundary = static_cast<QAccessible::TextBoundaryType>(data.ConsumeIntegralInRange(0, 5));
    int start = 0;
    int end = 0;
    switch (data.ConsumeIntegralInRange(0, 15)) {
    case 0: {
        const Timed timed("textAtOffset");
        text->textAtOffset(offsetIn(data, count), boundary, &start, &end);
        break;
    }
    case 1: {
        const Timed timed("textBeforeOffset");
        text->textBeforeOffset(offsetIn(data, count), boundary, &start, &end);
        break;
    }
    case 2: {
        const Timed timed("textAfterOffset");
        text->textAfterOffset(offsetIn(data, count), boundary, &start, &end);
        break;
    }
    case 3: {
        const Timed timed("text");
        text->text(offsetIn(data, count), offsetIn(data, count));
        break;
    }
    case 4: {
        const Timed timed("setSelection");
        text->setSelection(data.ConsumeIntegralInRange(-1, 1), offsetIn(data, count), offsetIn(data, count));
        break;
    }
    case 5: {
        const Timed timed("addSelection");
        text->addSelection(offsetIn(data, count), offsetIn(data, count));
        break;
    }
    case 6: {
        const Timed timed("removeSelection");
        text->removeSelection(data.ConsumeIntegralInRange(-1, 1));
        break;
    }
    case 7: {
        const Timed timed("selection");
        text->selection(data.ConsumeIntegralInRange(-1, 1), &start, &end);
        text->selectionCount();
        break;
    }
    case 8: {
        const Timed timed("setCursorPosition");
        text->setCursorPosition(offsetIn(data, count));
        text->cursorPosition();
        break;
    }
    case 9: {
        const Timed timed("characterRect");
        text->characterRect(offsetIn(data, count));
        break;
    }
    case 10: {
        const Timed timed("offsetAtPoint");
        text->offsetAtPoint({data.ConsumeIntegral<int>(), data.ConsumeIntegral<int>()});
        break;
    }
    case 11: {
        const Timed timed("scrollToSubstring");
        text->scrollToSubstring(offsetIn(data, count), offsetIn(data, count));
        break;
    }
    default: {
        const Timed timed("attributes");
        text->attributes(offsetIn(data, count), &start, &end);
        break;
    }
    }
}

void callEditable(FuzzedDataProvider &data, QAccessibleEditableTextInterface *editable, int count)
{
    switch (data.ConsumeIntegralInRange(0, 2)) {
    case 0: {
        const Timed timed("deleteText");
        editable->deleteText(offsetIn(data, count), offsetIn(data, count));
        break;
    }
    case 1: {
        const Timed timed("insertText");
        editable->insertText(offsetIn(data, count), textFrom(data));
        break;
    }
    default: {
        const Timed timed("replaceText");
        editable->replaceText(offsetIn(data, count), offsetIn(data, count), textFrom(data));
        break;
    }
    }
}

void callAction(FuzzedDataProvider &data, QAccessibleActionInterface *action)
{
    const QStringList names = action->actionNames();
    const auto pick = data.ConsumeIntegralInRange<qsizetype>(0, names.size());
    const QString name = pick < names.size() ? names.at(pick) : textFrom(data);
    const Timed timed("doAction");
    action->localizedActionDescription(name);
    action->keyBindingsForAction(name);
    action->doAction(name);
    pressed = pressed || name == QAccessibleActionInterface::pressAction();
}

void callInterface(FuzzedDataProvider &data, QAccessibleInterface *accessible)
{
    const auto t = static_cast<QAccessible::Text>(data.ConsumeIntegralInRange(0, 5));
    switch (data.ConsumeIntegralInRange(0, 9)) {
    case 0: {
        const Timed timed("text(t)");
        accessible->text(t);
        accessible->role();
        accessible->state();
        accessible->rect();
        break;
    }
    case 1: {
        const Timed timed("setText(t)");
        accessible->setText(t, textFrom(data));
        break;
    }
    case 2: {
        const Timed timed("relations");
        accessible->relations(QAccessible::Relation(data.ConsumeIntegral<int>()));
        accessible->focusChild();
        accessible->parent();
        break;
    }
    case 3: {
        const Timed timed("child");
        accessible->child(data.ConsumeIntegralInRange(-2, 20));
        accessible->childAt(data.ConsumeIntegral<int>(), data.ConsumeIntegral<int>());
        break;
    }
    case 4:
        if (QAccessibleActionInterface *action = accessible->actionInterface())
            callAction(data, action);
        break;
    case 5:
    case 6:
        if (QAccessibleEditableTextInterface *editable = accessible->editableTextInterface()) {
            QAccessibleTextInterface *text = accessible->textInterface();
            callEditable(data, editable, text ? text->characterCount() : 0);
        }
        break;
    default:
        if (QAccessibleTextInterface *text = accessible->textInterface())
            callText(data, text);
        break;
    }
}

bool wholeCharacters(const QString &text)
{
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i).isHighSurrogate() && i + 1 < text.size() && text.at(i + 1).isLowSurrogate())
            ++i;
        else if (text.at(i).isSurrogate())
            return false;
    }
    return true;
}

void checkRules(const Form1 &form, const QString &explanation)
{
    const std::pair<const char *, int> limited[]
        = {{"weight", core::weightLimit}, {"heightf", core::heightfLimit}, {"ft", core::ftLimit}};
    for (const auto &[name, limit] : limited) {
        const QString text = form.findChild<QLineEdit *>(QLatin1String(name))->text();
        fuzz::require(text.size() <= limit && wholeCharacters(text));
    }
    fuzz::require(form.findChild<QPlainTextEdit *>(QStringLiteral("Text5"))->toPlainText() == explanation);
    int open = 0;
    for (const QWidget *window : QApplication::topLevelWidgets())
        open += qobject_cast<const QMessageBox *>(window) && window->isVisible() ? 1 : 0;
    fuzz::require(open <= 1);
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int *, char ***)
{
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static int argc = 1;
    static char name[] = "fuzz_accessibility";
    static char *argv[] = {name, nullptr};
    // Never destroyed: Qt's own globals are gone by the time the program's statics are.
    static const QApplication *app = new QApplication(argc, argv);
    Q_UNUSED(app);
    std::thread(watch).detach();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t *bytes, std::size_t size)
{
    FuzzedDataProvider data(bytes, size);
    Form1 form;
    form.show();
    const QString explanation = form.findChild<QPlainTextEdit *>(QStringLiteral("Text5"))->toPlainText();

    // Each request runs from the event loop, so that one made while a box is open runs inside
    // that box's own loop, as a screen reader's does.
    QEventLoop loop;
    int steps = 0;
    std::function<void()> step = [&] {
        if (data.remaining_bytes() == 0 || ++steps > 64) {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget())) {
                box->reject();
                QTimer::singleShot(0, step);
            } else {
                loop.quit();
            }
            return;
        }
        QTimer::singleShot(std::exchange(pressed, false) ? 120 : 0, step);
        QList<QAccessibleInterface *> all;
        collect(QAccessible::queryAccessibleInterface(&form), all, 0);
        collect(QAccessible::queryAccessibleInterface(QApplication::activeModalWidget()), all, 0);
        callInterface(data, all.at(data.ConsumeIntegralInRange<qsizetype>(0, all.size() - 1)));
        checkRules(form, explanation);
    };
    QTimer::singleShot(0, step);
    loop.exec();
    checkRules(form, explanation);
    return 0;
}
