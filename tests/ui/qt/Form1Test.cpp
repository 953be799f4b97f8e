#include "Form1.h"
#include "Form1Design.h"
#include "FormFont.h"
#include "MessageBoxStyle.h"
#include "ModalWatch.h"
#include "ShowLog.h"
#include "TitleBar.h"
#include "Utf16.h"

#include <QAbstractButton>
#include <QAccessible>
#include <QApplication>
#include <QClipboard>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRawFont>
#include <QSignalBlocker>
#include <QSignalSpy>
#include <QStyleOptionFrame>
#include <QTest>
#include <QTextBlock>
#include <QTextLayout>
#include <QTimer>
#include <QWindow>

#include <algorithm>
#include <cmath>
#include <iterator>
#include <limits>
#include <memory>
#include <utility>

namespace {

// The window carries a cut-down font: a character it lacks would be drawn in another face.
QString missingFromFormFont(const QString &text)
{
    const QRawFont font = QRawFont::fromFont(formFont());
    QString missing;
    for (const char32_t c : text.toUcs4()) {
        if (c != U'\n' && !font.supportsCharacter(c))
            missing += QString::fromUcs4(&c, 1);
    }
    return missing;
}

// What the sentence is drawn on, read from the box as painted (inside its document margin).
QColor shownBackground(QPlainTextEdit *plain)
{
    return plain->grab().toImage().pixelColor(1, 1);
}

double luminance(const QColor &colour)
{
    const auto linear = [](double c) { return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4); };
    return 0.2126 * linear(colour.redF()) + 0.7152 * linear(colour.greenF()) + 0.0722 * linear(colour.blueF());
}

// Device pixel ratios of the screens people use, for tests that paint at each.
void addRatioRows()
{
    QTest::addColumn<qreal>("ratio");

    QTest::newRow("1x") << 1.0;
    QTest::newRow("2x") << 2.0;
    QTest::newRow("3x") << 3.0;
}

// The WCAG contrast ratio of two colours.
double contrast(const QColor &a, const QColor &b)
{
    const auto [dark, light] = std::minmax({luminance(a), luminance(b)});
    return (light + 0.05) / (dark + 0.05);
}

const QString invalidData = QStringLiteral("Invalid data.  Please check and re-enter!");
const QString sentence = toQString(design::sentenceAlone);

// The width a line edit leaves for its text: inside the frame, less Qt's fixed margin each side.
int textWidth(const QLineEdit *edit)
{
    QStyleOptionFrame option;
    option.initFrom(edit);
    option.rect = edit->rect();
    option.lineWidth = edit->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, &option, edit);
    const QRect contents = edit->style()->subElementRect(QStyle::SE_LineEditContents, &option, edit);
    const QMargins margins = edit->textMargins();
    constexpr int lineEditHorizontalMargin = 2;
    return contents.width() - margins.left() - margins.right() - 2 * lineEditHorizontalMargin;
}

} // namespace

class Form1Test : public QObject
{
    Q_OBJECT

private slots:
    void init();
    void cleanup();

    void controls_data();
    void controls();
    void window();
    void writtenTextShowsFromItsStart();
    void invalidDataBox_data();
    void invalidDataBox();
    void stopSignIsDrawnAtEveryRatio_data();
    void stopSignIsDrawnAtEveryRatio();
    void windowTakesNoInputWhileTheBoxIsOpen();
    void runTimeErrorIsReportedAndTheWindowGoesOn();
    void accessibleNamesAndRoles_data();
    void accessibleNamesAndRoles();
    void captionsReachTheirBoxes();
    void textQueriesReturnAtOnce_data();
    void textQueriesReturnAtOnce();
    void textPieces_data();
    void textPieces();
    void editsAtOddOffsetsStayInTheText();
    void explanationIsReadOnlyToClients();
    void tabAnnouncesTheFocusFirst_data();
    void tabAnnouncesTheFocusFirst();
    void resultIsAnnounced_data();
    void resultIsAnnounced();
    void textFitsItsBox_data();
    void textFitsItsBox();
    void explanationShowsWholeAndIsReadByShownLines();
    void explanationFollowsPaletteChange();
    void lineScalesWithTheLayout_data();
    void lineScalesWithTheLayout();
    void closingAsksNothing();
    void closeWhileTheBoxIsOpen_data();
    void closeWhileTheBoxIsOpen();
    void ownTitleBar();
    void tenThousandCalculationsStayRight();
    void tenThousandPastesStayLimited();

private:
    template<typename T = QWidget>
    T *control(const char *name) const
    {
        auto *widget = m_form->findChild<T *>(QLatin1String(name));
        if (!widget)
            qFatal("no control %s", name);
        return widget;
    }
    QLineEdit *box(const char *name) const { return control<QLineEdit>(name); }
    void enter(const QString &weight, const QString &feet, const QString &inches);
    void replace(const char *name, const QString &text);

    std::unique_ptr<Form1> m_form;
    std::unique_ptr<ModalWatch> m_watch;
};

void Form1Test::init()
{
    m_watch = std::make_unique<ModalWatch>();
    m_form = std::make_unique<Form1>();
    m_form->show();
    QApplication::setActiveWindow(m_form.get());
    QVERIFY(QTest::qWaitForWindowActive(m_form.get()));
}

void Form1Test::cleanup()
{
    m_form.reset();
    QCOMPARE(m_watch->strays, 0);
    m_watch.reset();
}

void Form1Test::enter(const QString &weight, const QString &feet, const QString &inches)
{
    QTest::keyClicks(box("weight"), weight);
    QTest::keyClicks(box("heightf"), feet);
    QTest::keyClicks(box("ft"), inches);
}

// Selects the whole text of a box and types over it, as a user retyping a figure does.
void Form1Test::replace(const char *name, const QString &text)
{
    QTest::keyClick(box(name), Qt::Key_A, Qt::ControlModifier);
    QTest::keyClicks(box(name), text);
}

void Form1Test::controls_data()
{
    QTest::addColumn<QString>("className");

    // Where and with what text is the shared suite's; here, the widget of each kind.
    // clang-format off
    QTest::newRow("Label1") << "QLabel";
    QTest::newRow("weight") << "QLineEdit";
    QTest::newRow("Command1") << "QPushButton";
    QTest::newRow("Line1") << "QFrame";
    QTest::newRow("Text5") << "QPlainTextEdit";
    QTest::newRow("nutrition") << "QLineEdit";
    // clang-format on
}

void Form1Test::controls()
{
    QFETCH(QString, className);

    QWidget *widget = control(QTest::currentDataTag());
    QCOMPARE(widget->metaObject()->className(), className);
    QVERIFY(widget->isVisible());
    if (auto *label = qobject_cast<QLabel *>(widget)) {
        QCOMPARE(label->focusPolicy(), Qt::NoFocus);
    } else if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        QVERIFY(!edit->isReadOnly());
        QCOMPARE(edit->maxLength(), 32767); // no limit of the box's own: the length rule is the limit
    } else if (auto *button = qobject_cast<QPushButton *>(widget)) {
        QVERIFY(!button->isDefault());
        QVERIFY(button->autoDefault()); // Return on the focused button; no default in a plain window
    } else if (auto *plain = qobject_cast<QPlainTextEdit *>(widget)) {
        QCOMPARE(shownBackground(plain), plain->palette().color(QPalette::Button));
    } else {
        QCOMPARE(qobject_cast<QFrame *>(widget)->frameShape(), QFrame::HLine);
        QCOMPARE(widget->focusPolicy(), Qt::NoFocus);
    }
}

void Form1Test::window()
{
    QCOMPARE(m_form->minimumSize(), m_form->maximumSize());
    QCOMPARE(m_form->windowFlags() & (Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint),
             Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    // The twelve controls, and one widget for screen readers alone that a sighted user never meets.
    const auto children = m_form->findChildren<QWidget *>(QString(), Qt::FindDirectChildrenOnly);
    QCOMPARE(children.size(), 13);
    QWidget *announcer = control("announcer");
    QVERIFY(announcer->geometry().isEmpty());
    QCOMPARE(announcer->focusPolicy(), Qt::NoFocus);

    QString shown;
    for (const QLabel *label : m_form->findChildren<QLabel *>())
        shown += label->text();
    shown += control<QPushButton>("Command1")->text() + control<QPlainTextEdit>("Text5")->toPlainText();
    // What the calculation writes: every digit, and each category.
    shown += QStringLiteral("0123456789 Underweight Desirable prone to health risks Obese Extremely obese");
    QCOMPARE(missingFromFormFont(shown), QString());

    // The controls are made in the window's font, and the rest of the program keeps its own.
    const QFont before = QApplication::font();
    Form1 another;
    QCOMPARE(QApplication::font(), before);
    QCOMPARE(control<QLineEdit>("weight")->font(), formFont());
}

void Form1Test::writtenTextShowsFromItsStart()
{
    enter("200", "5", "14");
    QTest::mouseClick(control("Command1"), Qt::LeftButton);
    QCOMPARE(box("nutrition")->text(), QStringLiteral("prone to health risks"));
    for (const char *name : {"nutrition", "bdmass", "heightf", "ft"})
        QCOMPARE(box(name)->cursorPosition(), 0);
}

void Form1Test::invalidDataBox_data()
{
    QTest::addColumn<int>("dismissKey"); // 0: the OK button; -1: the close box
    // clang-format off
    QTest::newRow("ok_button") << 0;
    QTest::newRow("enter") << int(Qt::Key_Return);
    QTest::newRow("escape") << int(Qt::Key_Escape);
    QTest::newRow("close_box") << -1;
    // clang-format on
}

void Form1Test::invalidDataBox()
{
    QFETCH(int, dismissKey);
    enter("500", "5", "14");
    m_watch->expect([dismissKey](QMessageBox &box) {
        if (dismissKey == 0)
            box.button(QMessageBox::Ok)->click();
        else if (dismissKey == -1)
            box.close();
        else
            QTest::keyClick(&box, Qt::Key(dismissKey));
    });
    QTest::mouseClick(control("Command1"), Qt::LeftButton);

    // What the box says, and that the fields stay, is the shared suite's; here, each way out of
    // it, and how Qt draws it.
    QCOMPARE(m_watch->seen.size(), std::size_t(1));
    const SeenBox &seen = m_watch->seen.front();
    QCOMPARE(seen.modality, Qt::ApplicationModal);
    QCOMPARE(seen.flags & (Qt::WindowMinMaxButtonsHint | Qt::WindowCloseButtonHint), Qt::WindowCloseButtonHint);
    QCOMPARE(seen.font, m_form->font());
    QCOMPARE(missingFromFormFont(seen.text), QString());
    const int iconSize = m_form->style()->pixelMetric(QStyle::PM_MessageBoxIconSize);
    QCOMPARE(seen.iconPixmap.size(), QSize(iconSize, iconSize) * m_form->devicePixelRatio());
    QVERIFY(m_form->isVisible());
}

void Form1Test::stopSignIsDrawnAtEveryRatio_data()
{
    addRatioRows();
}

// The box's icon has a device pixel for each of its pixels at every scale: drawn, not scaled up.
void Form1Test::stopSignIsDrawnAtEveryRatio()
{
    QFETCH(qreal, ratio);

    const QPixmap sign
        = MessageBoxStyle().standardIcon(QStyle::SP_MessageBoxCritical, nullptr, nullptr).pixmap(QSize(32, 32), ratio);
    QCOMPARE(sign.size(), QSize(32, 32) * ratio);
    QCOMPARE(sign.devicePixelRatio(), ratio);
    // A one-device-pixel step across the disc's edge, where a scaled-up bitmap repeats a pixel.
    const QImage image = sign.toImage();
    const int middle = image.height() / 2;
    int partial = 0;
    for (int x = 0; x < image.width() / 2; ++x)
        partial += qAlpha(image.pixel(x, middle)) > 0 && qAlpha(image.pixel(x, middle)) < 255 ? 1 : 0;
    QVERIFY(partial <= 2);
    QVERIFY(qAlpha(image.pixel(image.width() / 2 - 1, middle)) == 255);
    // Outside the disc the box's own background shows through.
    const int last = image.width() - 1;
    for (const QPoint corner : {QPoint(0, 0), QPoint(last, 0), QPoint(0, last), QPoint(last, last)})
        QCOMPARE(image.pixel(corner), QRgb(0));
}

void Form1Test::windowTakesNoInputWhileTheBoxIsOpen()
{
    // Input through the window system, as a user's, and not straight to the widget; and the
    // requests a screen reader can make.
    QWindow *handle = m_form->windowHandle();
    const QPoint button = control("Command1")->geometry().center();
    QAccessibleInterface *press = QAccessible::queryAccessibleInterface(control("Command1"));
    QAccessibleInterface *weight = QAccessible::queryAccessibleInterface(box("weight"));
    QAccessibleInterface *caption = QAccessible::queryAccessibleInterface(control("Label1"));
    QAccessibleInterface *frame = QAccessible::queryAccessibleInterface(m_form.get());
    bool sunk = false;
    m_watch->expect([&](QMessageBox &box) {
        QTest::mouseClick(handle, Qt::LeftButton, {}, button);
        QTest::mouseClick(handle, Qt::LeftButton, {}, this->box("weight")->geometry().center());
        QTest::keyClick(handle, Qt::Key_1);
        press->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
        sunk = this->control<QPushButton>("Command1")->isDown();
        weight->editableTextInterface()->insertText(0, QStringLiteral("2"));
        for (QAccessibleInterface *focus : {weight, caption, frame})
            focus->actionInterface()->doAction(QAccessibleActionInterface::setFocusAction());
        // The Press made before the box opened clicks while it is open.
        QTest::qWait(200);
        box.accept();
    });
    press->actionInterface()->doAction(QAccessibleActionInterface::pressAction());
    QTest::mouseClick(handle, Qt::LeftButton, {}, button);
    QTRY_COMPARE(m_watch->seen.size(), std::size_t(1));
    QTRY_VERIFY(!QApplication::activeModalWidget());
    // Long enough for a Press, which clicks a moment later, to have come through.
    QTest::qWait(300);
    QCOMPARE(m_watch->seen.size(), std::size_t(1));
    QVERIFY(!sunk);
    QCOMPARE(box("weight")->text(), QString());
    QCOMPARE(m_form->focusWidget(), control("Command1"));
    QVERIFY(m_form->isVisible());
}

void Form1Test::runTimeErrorIsReportedAndTheWindowGoesOn()
{
    QTest::keyClicks(box("bdmass"), "earlier");
    {
        // A weight no typing could leave in the box, to reach an overflow through the window.
        const QSignalBlocker unlimited(box("weight"));
        box("weight")->setText(QStringLiteral("1e308"));
    }
    QTest::keyClicks(box("heightf"), "5");
    QTest::keyClicks(box("ft"), "10");
    m_watch->expect();
    QTest::mouseClick(control("Command1"), Qt::LeftButton);

    QCOMPARE(m_watch->seen.size(), std::size_t(1));
    QCOMPARE(m_watch->seen.front().text, QStringLiteral("Run-time error '6':\n\nOverflow"));
    QCOMPARE(m_watch->seen.front().title, QStringLiteral("Quorvane"));
    QCOMPARE(m_watch->seen.front().icon, QMessageBox::Critical);
    QCOMPARE(box("bdmass")->text(), QStringLiteral("earlier"));
    QVERIFY(m_form->isVisible());

    box("weight")->clear();
    QTest::keyClicks(box("weight"), "150");
    QTest::mouseClick(control("Command1"), Qt::LeftButton);
    QCOMPARE(box("bdmass")->text(), QStringLiteral("22"));
}

void Form1Test::accessibleNamesAndRoles_data()
{
    QTest::addColumn<QString>("name");
    QTest::addColumn<int>("role");
    for (const design::Control &c : design::controls) {
        if (!c.accessibleName.empty())
            QTest::newRow(c.name.data()) << toQString(c.accessibleName) << int(QAccessible::EditableText);
    }
    // clang-format off
    QTest::newRow("Command1") << toQString(design::control("Command1").text) << int(QAccessible::PushButton);
    QTest::newRow("Form1") << toQString(design::title) << int(QAccessible::Window);
    QTest::newRow("Line1") << "" << int(QAccessible::Separator);
    QTest::newRow("announcer") << "" << int(QAccessible::Notification);
    // clang-format on
}

void Form1Test::accessibleNamesAndRoles()
{
    const QString name = QTest::currentDataTag();
    QAccessibleInterface *accessible
        = QAccessible::queryAccessibleInterface(name == "Form1" ? m_form.get() : control(qPrintable(name)));
    QVERIFY(accessible);
    QTEST(accessible->text(QAccessible::Name), "name");
    QTEST(int(accessible->role()), "role");
}

// Orca reads a box by the caption linked to it before its own name: "Height" for the feet.
void Form1Test::captionsReachTheirBoxes()
{
    for (const char *name : {"weight", "heightf", "ft", "bdmass", "nutrition"})
        QVERIFY2(QAccessible::queryAccessibleInterface(box(name))->relations(QAccessible::Label).isEmpty(), name);
    QAccessibleInterface *category = QAccessible::queryAccessibleInterface(box("nutrition"));
    QCOMPARE(category->text(QAccessible::Description), sentence);
    // Told once: the next visit would read all 142 characters again.
    box("nutrition")->setFocus();
    box("weight")->setFocus();
    QCOMPARE(category->text(QAccessible::Description), QString());
}

void Form1Test::textQueriesReturnAtOnce_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<int>("boundary");
    // Texts that start with no letter or digit sent Qt's word search round for ever.
    const std::pair<const char *, const char16_t *> texts[] = {{"minus_two", u"-2"},
                                                               {"blank_one", u" 1"},
                                                               {"point_five", u".5"},
                                                               {"minus", u"-"},
                                                               {"blank", u" "},
                                                               {"tab", u"\t"},
                                                               {"emoji", u"\U0001F600"},
                                                               {"empty", u""}};
    const std::pair<const char *, QAccessible::TextBoundaryType> boundaries[]
        = {{"char", QAccessible::CharBoundary},
           {"word", QAccessible::WordBoundary},
           {"sentence", QAccessible::SentenceBoundary},
           {"line", QAccessible::LineBoundary},
           {"paragraph", QAccessible::ParagraphBoundary}};
    for (const auto &[name, text] : texts) {
        for (const auto &[kind, boundary] : boundaries)
            QTest::addRow("%s_%s", name, kind) << QString::fromUtf16(text) << int(boundary);
    }
}

// Every query at the start, the end, the caret and past either end returns, with a piece of the
// text and its bounds within it. The test runs first, under a time limit of its own.
void Form1Test::textQueriesReturnAtOnce()
{
    QFETCH(QString, text);
    QFETCH(int, boundary);
    QLineEdit *edit = box("ft");
    edit->setText(text);
    QCOMPARE(edit->text(), text);
    QAccessibleTextInterface *accessible = QAccessible::queryAccessibleInterface(edit)->textInterface();
    const auto type = QAccessible::TextBoundaryType(boundary);
    const int count = accessible->characterCount();
    for (int offset : {0, count, -1, -2, count + 1, -3, std::numeric_limits<int>::min()}) {
        for (int call = 0; call < 3; ++call) {
            int start = -9;
            int end = -9;
            const QString piece = call == 0 ? accessible->textBeforeOffset(offset, type, &start, &end)
                : call == 1                 ? accessible->textAtOffset(offset, type, &start, &end)
                                            : accessible->textAfterOffset(offset, type, &start, &end);
            QVERIFY(0 <= start && start <= end && end <= count);
            QCOMPARE(piece, accessible->text(start, end));
        }
    }
    int start = 0;
    int end = 0;
    // One attribute run over the whole text, or screen readers join the runs a character short.
    accessible->attributes(1, &start, &end);
    QCOMPARE(std::pair(start, end), std::pair(0, count));
}

void Form1Test::textPieces_data()
{
    QTest::addColumn<QString>("text");
    QTest::addColumn<QString>("call");
    QTest::addColumn<int>("boundary");
    QTest::addColumn<int>("offset");
    QTest::addColumn<QString>("piece");
    QTest::addColumn<int>("start");
    QTest::addColumn<int>("end");
    const QString prone = QStringLiteral("prone to health risks");
    const QString emoji = QString::fromUtf16(u"a\U0001F600b");
    constexpr int word = QAccessible::WordBoundary;
    constexpr int character = QAccessible::CharBoundary;
    constexpr int sentence = QAccessible::SentenceBoundary;
    // A word takes the blanks after it, as AT-SPI's word start does.
    // clang-format off
    QTest::newRow("first_word") << prone << "at" << word << 0 << "prone " << 0 << 6;
    QTest::newRow("word_from_its_blank") << prone << "at" << word << 5 << "prone " << 0 << 6;
    QTest::newRow("next_word") << prone << "after" << word << 0 << "to " << 6 << 9;
    QTest::newRow("word_before") << prone << "before" << word << 6 << "prone " << 0 << 6;
    QTest::newRow("last_word") << prone << "at" << word << 20 << "risks" << 16 << 21;
    QTest::newRow("word_before_the_end") << prone << "before" << word << 21 << "risks" << 16 << 21;
    QTest::newRow("sign_before_a_word") << "-2" << "at" << word << 0 << "-" << 0 << 1;
    QTest::newRow("decimal_is_one_word") << "5.5 lb" << "at" << word << 2 << "5.5 " << 0 << 4;
    QTest::newRow("pair_is_one_character") << emoji << "at" << character << 1 << QString::fromUtf16(u"\U0001F600") << 1 << 2;
    QTest::newRow("character_after_a_pair") << emoji << "at" << character << 2 << "b" << 2 << 3;
    QTest::newRow("word_with_a_pair") << emoji << "at" << word << 0 << QString::fromUtf16(u"a\U0001F600") << 0 << 2;
    QTest::newRow("second_sentence") << "One. Two" << "after" << sentence << 0 << "Two" << 5 << 8;
    // clang-format on
}

void Form1Test::textPieces()
{
    QFETCH(QString, text);
    QFETCH(QString, call);
    QFETCH(int, boundary);
    QFETCH(int, offset);
    QLineEdit *edit = box("nutrition");
    edit->setText(text);
    QAccessibleTextInterface *accessible = QAccessible::queryAccessibleInterface(edit)->textInterface();
    const auto type = QAccessible::TextBoundaryType(boundary);
    int start = -1;
    int end = -1;
    const QString piece = call == "at" ? accessible->textAtOffset(offset, type, &start, &end)
        : call == "after"              ? accessible->textAfterOffset(offset, type, &start, &end)
                                       : accessible->textBeforeOffset(offset, type, &start, &end);
    QTEST(piece, "piece");
    QTEST(start, "start");
    QTEST(end, "end");
    QCOMPARE(accessible->characterCount(), int(text.toUcs4().size()));
}

// Offsets past the end, negative, reversed or overflowing, as any accessibility client may send.
void Form1Test::editsAtOddOffsetsStayInTheText()
{
    QLineEdit *edit = box("nutrition");
    QTest::keyClicks(edit, "Desirable");
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(edit);
    QAccessibleEditableTextInterface *editable = accessible->editableTextInterface();
    editable->insertText(std::numeric_limits<int>::max(), QStringLiteral("!"));
    QCOMPARE(edit->text(), QStringLiteral("Desirable!"));
    editable->deleteText(4, -3);
    QCOMPARE(edit->text(), QStringLiteral("rable!"));
    // Half a pair, and the blanks Qt pads a client's text with.
    editable->replaceText(100, -100, QString::fromUtf16(u"x\xD83D") + QChar(0) + QChar(0));
    QCOMPARE(edit->text(), QStringLiteral("x"));

    // The length of this selection overflowed, and the next key crashed the box.
    QLineEdit *feet = box("ft");
    QTest::keyClicks(feet, "12");
    QAccessible::queryAccessibleInterface(feet)->textInterface()->setSelection(0, 2, std::numeric_limits<int>::min());
    QCOMPARE(feet->selectedText(), QStringLiteral("12"));
    QTest::keyClick(feet, Qt::Key_7);
    QTest::keyClick(feet, Qt::Key_Backspace);
    QCOMPARE(feet->text(), QString());
}

void Form1Test::explanationIsReadOnlyToClients()
{
    auto *plain = control<QPlainTextEdit>("Text5");
    QAccessibleInterface *accessible = QAccessible::queryAccessibleInterface(plain);
    QAccessibleEditableTextInterface *editable = accessible->editableTextInterface();
    editable->replaceText(0, accessible->textInterface()->characterCount(), QString());
    editable->insertText(0, QStringLiteral("x"));
    editable->deleteText(0, 5);
    accessible->setText(QAccessible::Value, QString());
    QCOMPARE(plain->toPlainText(), sentence + '\n');
    QVERIFY(accessible->state().readOnly);
}

void Form1Test::tabAnnouncesTheFocusFirst_data()
{
    QTest::addColumn<QString>("from");
    QTest::addColumn<int>("key");
    QTest::addColumn<QString>("to");
    QTest::addColumn<QString>("text");
    // clang-format off
    QTest::newRow("into_empty") << "weight" << int(Qt::Key_Tab) << "heightf" << "";
    QTest::newRow("into_filled") << "ft" << int(Qt::Key_Tab) << "bdmass" << "22";
    QTest::newRow("back_into_filled") << "heightf" << int(Qt::Key_Backtab) << "weight" << "150";
    QTest::newRow("round_from_the_button") << "Command1" << int(Qt::Key_Tab) << "weight" << "150";
    // clang-format on
}

// Qt reports the focus once the box has taken it in; Orca says nothing of a box that told of
// its caret or selection before that.
void Form1Test::tabAnnouncesTheFocusFirst()
{
    QFETCH(QString, from);
    QFETCH(int, key);
    QFETCH(QString, to);
    QFETCH(QString, text);
    QLineEdit *target = box(qPrintable(to));
    QTest::keyClicks(target, text);
    QWidget *leaving = control(qPrintable(from));
    leaving->setFocus();
    // A box left with its text selected drops the selection, which Orca read as "Text unselected".
    auto *leavingBox = qobject_cast<QLineEdit *>(leaving);
    if (leavingBox) {
        QTest::keyClicks(leavingBox, "1");
        leavingBox->selectAll();
    }
    const QSignalSpy selections(target, &QLineEdit::selectionChanged);
    const QSignalSpy carets(target, &QLineEdit::cursorPositionChanged);
    const QSignalSpy unselections(leavingBox ? leavingBox : target, &QLineEdit::selectionChanged);
    qsizetype toldBeforeTheFocus = -1;
    const QObject scope;
    connect(qApp, &QApplication::focusChanged, &scope, [&](QWidget *, const QWidget *now) {
        if (now == target)
            toldBeforeTheFocus = selections.size() + carets.size();
    });
    QTest::keyClick(QApplication::focusWidget(), Qt::Key(key));
    QCOMPARE(QApplication::focusWidget(), target);
    QCOMPARE(toldBeforeTheFocus, 0);
    // Dropped unannounced: Qt tells screen readers of a selection wherever it signals one.
    QVERIFY(!leavingBox || (!leavingBox->hasSelectedText() && unselections.isEmpty()));
    // Selected whole all the same, as Qt selects a box that Tab brings the focus to.
    QCOMPARE(target->selectedText(), text);
    QCOMPARE(target->cursorPosition(), text.size());
}

void Form1Test::resultIsAnnounced_data()
{
    QTest::addColumn<QString>("weight");
    QTest::addColumn<QString>("feet");
    QTest::addColumn<QString>("inches");
    QTest::addColumn<QString>("message");
    // clang-format off
    QTest::newRow("typical") << "150" << "5" << "10" << "Body Mass Index 22, category Desirable";
    QTest::newRow("rewrite") << "180" << "5" << "14" << "Height now 6 feet 2 inches. Body Mass Index 23, category Desirable";
    QTest::newRow("invalid") << "500" << "5" << "10" << "";
    // clang-format on
}

// A notification that appears is what Orca speaks: it appears on every accepted click, also
// when the result is the one shown already, and the focus stays where it was.
void Form1Test::resultIsAnnounced()
{
#if QT_VERSION >= QT_VERSION_CHECK(6, 8, 0)
    QSKIP("Qt's own announcement is used");
#endif
    QFETCH(QString, weight);
    QFETCH(QString, feet);
    QFETCH(QString, inches);
    QFETCH(QString, message);
    enter(weight, feet, inches);
    ShowLog log(control("announcer"));
    QWidget *button = control("Command1");
    if (message.isEmpty())
        m_watch->expect();
    QTest::mouseClick(button, Qt::LeftButton);
    if (message.isEmpty()) {
        QCOMPARE(log.names, QStringList());
        return;
    }
    replace("heightf", feet);
    replace("ft", inches);
    button->setFocus();
    QTest::keyClick(button, Qt::Key_Space);
    QCOMPARE(log.names, QStringList({message, message}));
    QCOMPARE(QApplication::focusWidget(), button);
}

void Form1Test::textFitsItsBox_data()
{
    QTest::addColumn<QString>("boxName");
    QTest::addColumn<QString>("text");
    // clang-format off
    QTest::newRow("longest_category") << "nutrition" << "prone to health risks";
    QTest::newRow("extremely_obese") << "nutrition" << "Extremely obese";
    QTest::newRow("three_digit_index") << "bdmass" << "152";
    QTest::newRow("weight") << "weight" << "888";
    QTest::newRow("inches") << "ft" << "88";
    QTest::newRow("Label1") << "Label1" << "";
    QTest::newRow("Label2") << "Label2" << "";
    QTest::newRow("Label3") << "Label3" << "";
    QTest::newRow("Label4") << "Label4" << "";
    QTest::newRow("Command1") << "Command1" << "";
    // clang-format on
}

void Form1Test::textFitsItsBox()
{
    QFETCH(QString, boxName);
    QFETCH(QString, text);
    QWidget *widget = control(boxName.toLatin1().constData());
    const QFontMetrics metrics = widget->fontMetrics();
    QVERIFY2(metrics.height() <= widget->height() - 2, "the text is taller than its box");
    if (auto *edit = qobject_cast<QLineEdit *>(widget)) {
        QVERIFY2(metrics.horizontalAdvance(text) <= textWidth(edit),
                 qPrintable(QString::number(metrics.horizontalAdvance(text))));
    } else if (auto *label = qobject_cast<QLabel *>(widget)) {
        QVERIFY(metrics.horizontalAdvance(label->text()) <= label->contentsRect().width());
    } else {
        auto *button = qobject_cast<QPushButton *>(widget);
        QVERIFY(button->sizeHint().width() <= button->width());
    }
}

// The sentence shows whole, and a line is one it is shown on, so that a screen reader reads what
// the eye sees.
void Form1Test::explanationShowsWholeAndIsReadByShownLines()
{
    auto *text5 = control<QPlainTextEdit>("Text5");
    QAccessibleTextInterface *accessible = QAccessible::queryAccessibleInterface(text5)->textInterface();
    const qreal margin = text5->document()->documentMargin();
    const QTextLayout *layout = text5->document()->firstBlock().layout();
    QVERIFY(layout->lineCount() > 1);
    const QTextLine last = layout->lineAt(layout->lineCount() - 1);
    QVERIFY2(last.y() + last.height() + 2 * margin <= text5->viewport()->height(),
             qPrintable(QStringLiteral("%1 lines").arg(layout->lineCount())));
    const QString text = sentence + '\n';
    int start = 0;
    int end = 0;
    for (int i = 0; i < layout->lineCount(); ++i) {
        QVERIFY(layout->lineAt(i).naturalTextWidth() + 2 * margin <= text5->viewport()->width());
        const int from = layout->lineAt(i).textStart();
        const int to = i + 1 < layout->lineCount() ? layout->lineAt(i + 1).textStart() : int(text.size());
        QCOMPARE(accessible->textAtOffset(from, QAccessible::LineBoundary, &start, &end), text.mid(from, to - from));
        QCOMPARE(std::pair(start, end), std::pair(from, to));
    }
}

// The desktop's colour scheme changes from light to dark while the program runs.
void Form1Test::explanationFollowsPaletteChange()
{
    const QPalette light = QApplication::palette();
    QPalette dark(QColor(0x35, 0x35, 0x35), QColor(0x2a, 0x2a, 0x2a));
    dark.setColor(QPalette::Text, QColor(0xee, 0xee, 0xee));
    dark.setColor(QPalette::Base, QColor(0x1e, 0x1e, 0x1e));
    QApplication::setPalette(dark);
    QCoreApplication::processEvents();

    auto *plain = control<QPlainTextEdit>("Text5");
    const QColor background = shownBackground(plain);
    QCOMPARE(background, dark.color(QPalette::Button));
    QVERIFY2(contrast(plain->palette().color(QPalette::Text), background) >= 4.5, "the sentence is unreadable");
    QApplication::setPalette(light);
}

void Form1Test::lineScalesWithTheLayout_data()
{
    addRatioRows();
}

// Painted at a device pixel ratio, the line is as thick as one logical pixel there.
void Form1Test::lineScalesWithTheLayout()
{
    QFETCH(qreal, ratio);

    QImage image(m_form->size() * ratio, QImage::Format_RGB32);
    image.setDevicePixelRatio(ratio);
    m_form->render(&image);
    const QWidget *line = control("Line1");
    const QColor ink = line->palette().color(QPalette::WindowText);
    const int x = qRound(line->geometry().center().x() * ratio);
    int painted = 0;
    // Rows a few logical pixels either side of the line: nothing else is drawn there.
    for (int y = qRound((line->y() - 4) * ratio); y < qRound((line->y() + 5) * ratio); ++y)
        painted += image.pixelColor(x, y) == ink ? 1 : 0;
    QCOMPARE(painted, qRound(ratio));
}

void Form1Test::closingAsksNothing()
{
    enter("150", "5", "10");
    QVERIFY(m_form->close());
    QVERIFY(!m_form->isVisible());
    QVERIFY(m_watch->seen.empty());
}

void Form1Test::closeWhileTheBoxIsOpen_data()
{
    QTest::addColumn<int>("source");
    QTest::addColumn<bool>("ends");

    // clang-format off
    QTest::newRow("the compositor's, as Wayland's reaches the window") << 0 << false;
    QTest::newRow("the window's own") << 1 << false;
    QTest::newRow("the end of the session") << 2 << true;
    // clang-format on
}

void Form1Test::closeWhileTheBoxIsOpen()
{
    QFETCH(int, source);
    QFETCH(bool, ends);

    enter("500", "5", "10");
    m_watch->expect([&](QMessageBox &) {
        if (source == 0)
            m_form->windowHandle()->close();
        else if (source == 1)
            m_form->close();
        else
            QApplication::closeAllWindows();
        if (!ends)
            QTimer::singleShot(100, QApplication::activeModalWidget(), &QWidget::close);
    });
    QTest::mouseClick(control("Command1"), Qt::LeftButton);
    QTRY_VERIFY(!QApplication::activeModalWidget());
    QCOMPARE(m_form->isVisible(), !ends);
    QCOMPARE(m_watch->seen.size(), std::size_t(1));
}

// Where the compositor draws no frame: the bar over the controls, minimise and close, no maximise.
void Form1Test::ownTitleBar()
{
    const QRect weight = box("weight")->geometry();
    const QSize size = m_form->size();
    TitleBar::decorate(m_form.get());
    m_form->show();
    auto *bar = control("titleBar");
    QVERIFY(m_form->windowFlags().testFlag(Qt::FramelessWindowHint));
    QCOMPARE(bar->geometry(), QRect(0, 0, size.width(), bar->height()));
    QCOMPARE(m_form->size(), size + QSize(0, bar->height()));
    QCOMPARE(box("weight")->geometry(), weight.translated(0, bar->height()));

    // Right to left: close, minimise, then the title.
    const QPoint close(bar->width() - bar->height() / 2, bar->height() / 2);
    QTest::mouseClick(bar, Qt::LeftButton, {}, close - QPoint(bar->height(), 0));
    QTRY_VERIFY(m_form->isMinimized());
    m_form->showNormal();
    QTest::mouseClick(bar, Qt::LeftButton, {}, close);
    QVERIFY(!m_form->isVisible());
}

// One window through many runs: nothing the handlers leave behind may change a later result.
void Form1Test::tenThousandCalculationsStayRight()
{
    if (!qEnvironmentVariableIsSet("QUORVANE_SOAK"))
        QSKIP("a soak case, run by the form1_soak test (ctest -L soak)");
    struct Case
    {
        const char *weight, *feet, *inches, *shownFeet, *shownInches, *index, *category;
    };
    constexpr Case cases[] = {
        {"150", "5", "10", "5", "10", "22", "Desirable"},
        {"180", "5", "14", "6", "2", "23", "Desirable"},
        {"190", "5", "10", "5", "10", "27", "prone to health risks"},
        {"279", "5", "10", "5", "10", "40", "Extremely obese"},
    };
    QWidget *button = control("Command1");
    for (int run = 0; run < 10'000; ++run) {
        const Case &c = cases[run % std::size(cases)];
        replace("weight", c.weight);
        replace("heightf", c.feet);
        replace("ft", c.inches);
        QTest::mouseClick(button, Qt::LeftButton);
        const QStringList shown
            = {box("heightf")->text(), box("ft")->text(), box("bdmass")->text(), box("nutrition")->text()};
        const QStringList expected = {c.shownFeet, c.shownInches, c.index, c.category};
        QVERIFY2(shown == expected, qPrintable(QStringLiteral("run %1: %2").arg(run).arg(shown.join(u'|'))));
    }
    QVERIFY(m_watch->seen.empty());
}

void Form1Test::tenThousandPastesStayLimited()
{
    if (!qEnvironmentVariableIsSet("QUORVANE_SOAK"))
        QSKIP("a soak case, run by the form1_soak test (ctest -L soak)");
    QApplication::clipboard()->setText(QStringLiteral("1234567890"));
    constexpr std::pair<const char *, int> limits[] = {{"weight", 3}, {"heightf", 1}, {"ft", 2}};
    for (int paste = 0; paste < 10'000; ++paste) {
        const auto &[name, limit] = limits[paste % std::size(limits)];
        QLineEdit *edit = box(name);
        edit->setFocus();
        QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
        const QString expected = QStringLiteral("1234567890").left(limit);
        QVERIFY2(edit->text() == expected && edit->cursorPosition() == limit,
                 qPrintable(QStringLiteral("paste %1 into %2: %3").arg(paste).arg(name, edit->text())));
    }
    replace("weight", "150");
    replace("heightf", "5");
    replace("ft", "10");
    QTest::mouseClick(control("Command1"), Qt::LeftButton);
    QCOMPARE(box("bdmass")->text(), QStringLiteral("22"));
}

QTEST_MAIN(Form1Test)
#include "Form1Test.moc"
