#include "Form1.h"

#include "CalculateBmi.h"
#include "DefaultErrorHandler.h"
#include "FormFont.h"
#include "LimitLength.h"

#include <QFrame>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>

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
    // Neither default nor cancel button: Enter and Escape in a text box must run nothing.
    button->setAutoDefault(false);
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

} // namespace

Form1::Form1(QWidget *parent)
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

    // Screen readers name a box by its caption, or where the caption says less, by its own name.
    Label1->setBuddy(weight);
    Label4->setBuddy(bdmass);
    heightf->setAccessibleName(tr("Height in feet"));
    ft->setAccessibleName(tr("Height in inches"));
    nutrition->setAccessibleName(tr("Category"));

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
}

void Form1::Command1_Click()
{
    runtime::runWithDefaultHandling(msgBox, [this] {
        core::CalculateBmi({weightBox, heightfBox, ftBox, bdmassBox, nutritionBox}, msgBox);
    });
}

void Form1::weight_Change()
{
    core::LimitLength(weightBox, 3);
}

void Form1::heightf_Change()
{
    core::LimitLength(heightfBox, 1);
}

void Form1::ft_Change()
{
    core::LimitLength(ftBox, 2);
}
