#include "Form1.h"

#include "AccessibleFactory.h"
#include "CalculateBmi.h"
#include "DefaultErrorHandler.h"
#include "FormFont.h"
#include "LimitLength.h"
#include "Modality.h"

#include <QAccessible>
#include <QApplication>
#include <QCoreApplication>
#include <QFocusEvent>
#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSignalBlocker>

namespace {

// Positions and sizes are laid out in twips; at 15 twips to the pixel they fall on whole
// logical pixels, which Qt scales with the screen.
constexpr int twipsPerPixel = 15;

QRect fromTwips(int left, int top, int width, int height)
{
    return {left / twipsPerPixel, top / twipsPerPixel, width / twipsPerPixel, height / twipsPerPixel};
}

const QString explanation
    = QStringLiteral("According to the Panel on Energy, Obesity, and Body Weight Standards as published in "
                     "American Journal of Clinical Nutrition, your category is:\r\n");

template<typename Control>
Control *place(Control *control, const char *name, QRect geometry)
{
    control->setObjectName(QLatin1String(name));
    control->setGeometry(geometry);
    return control;
}

QLabel *label(QWidget *form, const char *name, const QString &caption, QRect geometry)
{
    return place(new QLabel(caption, form), name, geometry);
}

QLineEdit *textBox(QWidget *form, const char *name, QRect geometry)
{
    return place(new QLineEdit(form), name, geometry);
}

QPlainTextEdit *fixedText(QWidget *form, const char *name, const QString &text, QRect geometry)
{
    auto *box = place(new QPlainTextEdit(form), name, geometry);
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

QPushButton *commandButton(QWidget *form, const char *name, const QString &caption, QRect geometry)
{
    auto *button = place(new QPushButton(caption, form), name, geometry);
    // Return clicks the focused button, as Space does. The window is no dialog, so there is no
    // default button: Enter and Escape in a text box run nothing.
    button->setAutoDefault(true);
    button->setDefault(false);
    return button;
}

QFrame *line(QWidget *form, const char *name, QPoint from, QPoint to)
{
    auto *rule = new QFrame(form);
    rule->setFrameShape(QFrame::HLine);
    rule->setFrameShadow(QFrame::Plain);
    // The frame's pen is centred on the widget's top edge and half of it is clipped; filling the
    // one-pixel widget in the line's colour keeps it a logical pixel thick at every scale.
    rule->setBackgroundRole(QPalette::WindowText);
    rule->setAutoFillBackground(true);
    const QPoint start = from / twipsPerPixel;
    return place(rule, name, QRect(start, QSize((to.x() - from.x()) / twipsPerPixel + 1, 1)));
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
    , Label1(label(this, "Label1", tr("Weight"), fromTwips(960, 480, 735, 255)))
    , weight(textBox(this, "weight", fromTwips(1800, 480, 855, 285)))
    , Label2(label(this, "Label2", tr("Height"), fromTwips(720, 960, 735, 255)))
    , heightf(textBox(this, "heightf", fromTwips(1560, 960, 855, 285)))
    , Label3(label(this, "Label3", tr("Ft."), fromTwips(2520, 960, 375, 255)))
    , ft(textBox(this, "ft", fromTwips(3000, 960, 855, 285)))
    , Command1(commandButton(this, "Command1", tr("Calculate BMI"), fromTwips(1680, 1440, 1695, 375)))
    , Line1(line(this, "Line1", {720, 2040}, {4080, 2040}))
    , Label4(label(this, "Label4", tr("Body Mass Index"), fromTwips(240, 2160, 1335, 255)))
    , bdmass(textBox(this, "bdmass", fromTwips(1680, 2160, 1095, 285)))
    , Text5(fixedText(this, "Text5", explanation, fromTwips(1080, 2640, 2775, 975)))
    , nutrition(textBox(this, "nutrition", fromTwips(1680, 3840, 1455, 285)))
    , announcer(new Announcer(this))
    , weightBox(weight)
    , heightfBox(heightf)
    , ftBox(ft)
    , bdmassBox(bdmass)
    , nutritionBox(nutrition)
    , msgBox(this)
{
    setObjectName(QStringLiteral("Form1"));
    setWindowTitle(tr("Calculate BMI"));
    setFont(formFont());
    setFixedSize(fromTwips(0, 0, 4680, 4335).size());

    // Screen readers name each box by its own name, which says more than the captions can: no
    // caption is linked to its box, as Orca would read the caption instead.
    weight->setAccessibleName(tr("Weight in pounds"));
    heightf->setAccessibleName(tr("Height in feet"));
    ft->setAccessibleName(tr("Height in inches"));
    bdmass->setAccessibleName(tr("Body Mass Index"));
    nutrition->setAccessibleName(tr("Category"));
    // The sentence is the caption of the category, but no focus ever reaches it.
    nutrition->setAccessibleDescription(explanation.trimmed());

    setTabOrder(weight, heightf);
    setTabOrder(heightf, ft);
    setTabOrder(ft, bdmass);
    setTabOrder(bdmass, nutrition);
    setTabOrder(nutrition, Command1);
    weight->setFocus();

    connect(Command1, &QPushButton::clicked, this, &Form1::Command1_Click);
    connect(weight, &QLineEdit::textChanged, this, &Form1::weight_Change);
    connect(heightf, &QLineEdit::textChanged, this, &Form1::heightf_Change);
    connect(ft, &QLineEdit::textChanged, this, &Form1::ft_Change);
    for (QLineEdit *box : {weight, heightf, ft, bdmass, nutrition})
        box->installEventFilter(this);
}

// A QLineEdit selects its text as Tab brings the focus in, and tells screen readers of it before
// the focus: Orca then takes the focus as already known and says nothing. It drops its selection
// as Tab takes the focus out, which Orca reads as "Text unselected", wherever the focus is by
// then. So the selection is made here, once Qt has announced the focus, and dropped unannounced.
bool Form1::focusNextPrevChild(bool next)
{
    auto *leaving = qobject_cast<QLineEdit *>(focusWidget());
    tabbing = true;
    const bool moved = QWidget::focusNextPrevChild(next);
    tabbing = false;
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
    if (watched == nutrition && event->type() == QEvent::FocusOut)
        nutrition->setAccessibleDescription({});
    const bool focusEvent = event->type() == QEvent::FocusIn || event->type() == QEvent::FocusOut;
    if (tabbing && focusEvent) {
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
    // A click that was under way as a box opened (a screen reader's Press is one) comes to nothing.
    if (blockedByModal(Command1))
        return;
    const QString inches = ft->text();
    const int boxesShown = msgBox.timesShown();
    runtime::runWithDefaultHandling(msgBox, [this] {
        core::CalculateBmi({weightBox, heightfBox, ftBox, bdmassBox, nutritionBox}, msgBox);
    });
    if (msgBox.timesShown() == boxesShown)
        announceResult(ft->text() != inches);
}

void Form1::announceResult(bool heightRewritten)
{
    QString message = tr("Body Mass Index %1, category %2").arg(bdmass->text(), nutrition->text());
    if (heightRewritten)
        message.prepend(tr("Height now %1 feet %2 inches. ").arg(heightf->text(), ft->text()));
    announcer->announce(message);
}

void Form1::weight_Change()
{
    core::LimitLength(weightBox, core::weightLimit);
}

void Form1::heightf_Change()
{
    core::LimitLength(heightfBox, core::heightfLimit);
}

void Form1::ft_Change()
{
    core::LimitLength(ftBox, core::ftLimit);
}
