#include "Form1.h"

#include "Form1Design.h"
#include "FormFont.h"
#include "Modality.h"
#include "ScaleFollower.h"
#include "SingleLineValidator.h"
#include "TitleBar.h"
#include "Utf16.h"
#include "accessibility/AccessibleFactory.h"

#include <QAccessible>
#include <QApplication>
#include <QCloseEvent>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

#include <algorithm>
#include <utility>

namespace {

// Twips fall on whole logical pixels, which Qt scales with the screen. A line is drawn one
// logical pixel thick, both its ends included.
QRect fromTwips(const design::Control &control)
{
    const design::Rect &r = control.twips;
    constexpr int px = design::twipsPerPixel;
    if (control.kind == design::Kind::Line)
        return {r.left / px, r.top / px, r.width / px + 1, 1};
    return {r.left / px, r.top / px, r.width / px, r.height / px};
}

QLineEdit *textBox(QWidget *form)
{
    auto *box = new QLineEdit(form);
    box->setValidator(new SingleLineValidator(box));
    return box;
}

QPlainTextEdit *fixedText(QWidget *form, const QString &text)
{
    auto *box = new QPlainTextEdit(form);
    // The edit shows a CR LF pair as a line break; the text is kept as written.
    box->setPlainText(QString(text).replace(QLatin1String("\r\n"), QLatin1String("\n")));
    box->setReadOnly(true);
    box->setFocusPolicy(Qt::NoFocus);
    box->setFrameShape(QFrame::NoFrame);
    box->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    box->document()->setDocumentMargin(2);
    // A role, not a copied colour, so that a change of the desktop's colours reaches it too.
    box->viewport()->setBackgroundRole(QPalette::Button);
    return box;
}

QPushButton *commandButton(QWidget *form, const QString &caption)
{
    auto *button = new QPushButton(caption, form);
    // Return clicks the focused button, as Space does. The window is no dialog, so there is no
    // default button: Enter and Escape in a text box run nothing.
    button->setAutoDefault(true);
    button->setDefault(false);
    return button;
}

QFrame *line(QWidget *form)
{
    auto *rule = new QFrame(form);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Plain);
    // The frame's pen is centred on the widget's top edge and half of it is clipped; filling the
    // one-pixel widget in the line's colour keeps it a logical pixel thick at every scale.
    rule->setBackgroundRole(QPalette::WindowText);
    rule->setAutoFillBackground(true);
    return rule;
}

QWidget *make(QWidget *form, const design::Control &control)
{
    const QString text = toQString(control.text);
    QWidget *made = nullptr;
    switch (control.kind) {
    case design::Kind::Label:
        made = new QLabel(text, form);
        break;
    case design::Kind::TextBox:
        made = textBox(form);
        break;
    case design::Kind::FixedText:
        made = fixedText(form, text);
        break;
    case design::Kind::Button:
        made = commandButton(form, text);
        break;
    case design::Kind::Line:
        made = line(form);
        break;
    }
    made->setObjectName(QLatin1String(control.name.data(), static_cast<qsizetype>(control.name.size())));
    made->setGeometry(fromTwips(control));
    // Screen readers read a box by its own name, which says more than its caption can. No caption
    // is linked to its box, as Orca would read the caption instead.
    made->setAccessibleName(toQString(control.accessibleName));
    made->setAccessibleDescription(toQString(control.accessibleDescription));
    return made;
}

// Qt tells screen readers of a box's selection from the line control inside the box, which
// goes quiet for this; where there is none, the selection is dropped all the same.
void deselectUnannounced(QLineEdit *box)
{
    QObject *control = nullptr;
    for (QObject *child : box->children()) {
        if (qstrcmp(child->metaObject()->className(), "QWidgetLineControl") == 0)
            control = child;
    }
    const QSignalBlocker quiet(control);
    box->deselect();
    box->update();
}

} // namespace

// What holds while the controls are made. A QLineEdit lays out its empty text in the application's
// font as it is made, before it takes its window's: the application's font is the window's, so
// that no other font is loaded for it. And Qt keeps the first accessible interface made for a
// widget, which an event of the widget being made may already ask for: the program's own are
// installed first.
class Form1::BuildScope
{
public:
    explicit BuildScope(const QFont &font)
        : m_saved(QApplication::font())
    {
        QApplication::setFont(font);
        QAccessible::installFactory(accessibleFactory);
    }
    ~BuildScope() { QApplication::setFont(m_saved); }
    BuildScope(const BuildScope &) = delete;
    BuildScope &operator=(const BuildScope &) = delete;

private:
    QFont m_saved;
};

// The scope lives until the constructor it is passed to has returned.
Form1::Form1(QWidget *parent)
    : Form1(parent, BuildScope(formFont()))
{
}

Form1::Form1(QWidget *parent, const BuildScope &)
    : QWidget(parent)
    , m_weightBox(nullptr)
    , m_heightfBox(nullptr)
    , m_ftBox(nullptr)
    , m_bdmassBox(nullptr)
    , m_nutritionBox(nullptr)
    , m_msgBox(this)
    , m_events({m_weightBox, m_heightfBox, m_ftBox, m_bdmassBox, m_nutritionBox}, m_msgBox)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(toQString(design::title));
    // A window of one size has nothing to maximise.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint
                   | Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
    setFont(formFont());
    setFixedSize(fromTwips({{}, design::Kind::Label, {}, design::client, -1}).size());

    QList<std::pair<int, QWidget *>> tabOrder;
    for (const design::Control &control : design::controls) {
        QWidget *made = make(this, control);
        keep(control.name, made);
        if (control.tabIndex >= 0 && made->focusPolicy() != Qt::NoFocus)
            tabOrder.append({control.tabIndex, made});
    }
    std::sort(tabOrder.begin(), tabOrder.end());
    for (qsizetype i = 1; i < tabOrder.size(); ++i)
        setTabOrder(tabOrder.at(i - 1).second, tabOrder.at(i).second);
    m_announcer = new Announcer(this);

    m_weightBox = LineEditTextBox(m_weight);
    m_heightfBox = LineEditTextBox(m_heightf);
    m_ftBox = LineEditTextBox(m_ft);
    m_bdmassBox = LineEditTextBox(m_bdmass);
    m_nutritionBox = LineEditTextBox(m_nutrition);
    m_weight->setFocus();

    connect(m_command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(m_weight, &QLineEdit::textChanged, this, [this] { m_events.weight_Change(); });
    connect(m_heightf, &QLineEdit::textChanged, this, [this] { m_events.heightf_Change(); });
    connect(m_ft, &QLineEdit::textChanged, this, [this] { m_events.ft_Change(); });
    for (QLineEdit *box : {m_weight, m_heightf, m_ft, m_bdmass, m_nutrition})
        box->installEventFilter(this);
    if (TitleBar::wanted())
        TitleBar::decorate(this);
    new ScaleFollower(this);
}

void Form1::keep(std::string_view name, QWidget *made)
{
    const std::pair<std::string_view, QLineEdit **> boxes[] = {{"weight", &m_weight},
                                                               {"heightf", &m_heightf},
                                                               {"ft", &m_ft},
                                                               {"bdmass", &m_bdmass},
                                                               {"nutrition", &m_nutrition}};
    for (const auto &[boxName, box] : boxes) {
        if (name == boxName)
            *box = qobject_cast<QLineEdit *>(made);
    }
    if (name == "Command1")
        m_command1 = qobject_cast<QPushButton *>(made);
}

// Qt refuses a close from the window system while a box is open, but not every platform's
// close comes that way: Wayland's arrives as a plain close of the window. Ending the session
// closes the box first, so it still ends the program.
void Form1::closeEvent(QCloseEvent *event)
{
    if (blockedByModal(this))
        event->ignore();
    else
        QWidget::closeEvent(event);
}

// A QLineEdit selects its text as Tab brings the focus in, and tells screen readers of it before
// the focus: Orca then takes the focus as already known and says nothing. It drops its selection
// as Tab takes the focus out, which Orca reads as "Text unselected", wherever the focus is by
// then. So the selection is made here, once Qt has announced the focus, and dropped unannounced.
bool Form1::focusNextPrevChild(bool next)
{
    auto *leaving = qobject_cast<QLineEdit *>(focusWidget());
    m_tabbing = true;
    const bool moved = QWidget::focusNextPrevChild(next);
    m_tabbing = false;
    auto *box = qobject_cast<QLineEdit *>(focusWidget());
    if (leaving && leaving != box)
        deselectUnannounced(leaving);
    if (moved && box && box->hasFocus() && !box->hasSelectedText())
        box->selectAll();
    return moved;
}

bool Form1::eventFilter(QObject *watched, QEvent *event)
{
    // Orca reads a box's description on every visit: the sentence is told the first time only,
    // and stays on screen in Text5 above the box.
    if (watched == m_nutrition && event->type() == QEvent::FocusOut)
        m_nutrition->setAccessibleDescription({});
    const bool focusEvent = event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut;
    if (m_tabbing && focusEvent) {
        const Qt::FocusReason reason = static_cast<QFocusEvent *>(event)->reason();
        if (reason == Qt::TabFocusReason || reason == Qt::BacktabFocusReason) {
            // Reasons for which a box neither selects its text coming in nor drops its selection going out.
            QFocusEvent quiet(event->type(),
                              event->type() == QEvent::FocusIn ? Qt::OtherFocusReason : Qt::PopupFocusReason);
            QCoreApplication::sendEvent(watched, &quiet);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void Form1::Command1_Click()
{
    // Every click passes here, whatever made it: one that was under way as a box opened (a screen
    // reader's Press clicks a moment after it is made) comes to nothing.
    if (blockedByModal(m_command1))
        return;
    if (const std::u16string message = m_events.Command1_Click(); !message.empty())
        m_announcer->announce(toQString(message));
}
