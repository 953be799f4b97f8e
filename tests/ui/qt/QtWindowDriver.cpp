#include "Form1.h"
#include "ModalWatch.h"
#include "Utf16.h"
#include "WindowDriver.h"

#include <QApplication>
#include <QClipboard>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTest>

#include <gtest/gtest.h>

#include <algorithm>

// The shared window-behaviour suite over the Qt window, offscreen.

namespace {

class QtDriver : public window::Driver
{
public:
    QtDriver()
    {
        m_form.show();
        QApplication::setActiveWindow(&m_form);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&m_form));
        // Every box is answered with its OK, and recorded.
        m_watch.expectEvery();
    }

    void type(std::string_view box, std::u16string_view text) override
    {
        QLineEdit *edit = lineEdit(box);
        edit->setFocus();
        // One key per character, as a keyboard sends it: a pair of surrogates is one key's text.
        for (const char32_t c : toQString(text).toUcs4()) {
            QKeyEvent keyPress(QEvent::KeyPress, Qt::Key_unknown, Qt::NoModifier, QString::fromUcs4(&c, 1));
            QApplication::sendEvent(edit, &keyPress);
        }
    }

    void paste(std::string_view box, std::u16string_view text) override
    {
        QLineEdit *edit = lineEdit(box);
        edit->setFocus();
        QApplication::clipboard()->setText(toQString(text));
        QTest::keyClick(edit, Qt::Key_V, Qt::ControlModifier);
    }

    void setCaret(std::string_view box, int position) override { lineEdit(box)->setCursorPosition(position); }

    void press(window::Key key) override
    {
        struct Press
        {
            window::Key ours;
            Qt::Key qt;
            Qt::KeyboardModifiers modifiers;
        };
        static constexpr Press keys[] = {{window::Key::Tab, Qt::Key_Tab, {}},
                                         {window::Key::Backtab, Qt::Key_Backtab, {}},
                                         {window::Key::Return, Qt::Key_Return, {}},
                                         {window::Key::KeypadEnter, Qt::Key_Enter, {}},
                                         {window::Key::Escape, Qt::Key_Escape, {}},
                                         {window::Key::Space, Qt::Key_Space, {}},
                                         {window::Key::Backspace, Qt::Key_Backspace, {}},
                                         {window::Key::Delete, Qt::Key_Delete, {}},
                                         {window::Key::Left, Qt::Key_Left, {}},
                                         {window::Key::Right, Qt::Key_Right, {}},
                                         {window::Key::ShiftLeft, Qt::Key_Left, Qt::ShiftModifier},
                                         {window::Key::ShiftRight, Qt::Key_Right, Qt::ShiftModifier}};
        for (const Press &entry : keys) {
            if (entry.ours == key)
                QTest::keyClick(QApplication::focusWidget(), entry.qt, entry.modifiers);
        }
        QApplication::processEvents();
    }

    void focus(std::string_view control) override { widget(control)->setFocus(); }

    void click(std::string_view control) override
    {
        QWidget *target = widget(control);
        QTest::mouseClick(target, Qt::LeftButton, {}, target == &m_form ? QPoint(5, 5) : target->rect().center());
    }

    std::u16string text(std::string_view control) const override
    {
        const QWidget *shown = widget(control);
        QString text;
        if (const auto *label = qobject_cast<const QLabel *>(shown))
            text = label->text();
        else if (const auto *edit = qobject_cast<const QLineEdit *>(shown))
            text = edit->text();
        else if (const auto *button = qobject_cast<const QPushButton *>(shown))
            text = button->text();
        else if (const auto *plain = qobject_cast<const QPlainTextEdit *>(shown))
            text = plain->toPlainText();
        return text.toStdU16String();
    }

    int caret(std::string_view box) const override { return lineEdit(box)->cursorPosition(); }

    std::string focused() const override
    {
        const QWidget *withFocus = QApplication::focusWidget();
        return withFocus ? withFocus->objectName().toStdString() : std::string();
    }

    window::Pixels place(std::string_view control) const override
    {
        const QRect r = widget(control)->geometry();
        return {r.x(), r.y(), r.width(), r.height()};
    }

    window::Pixels client() const override { return {0, 0, m_form.width(), m_form.height()}; }

    std::u16string title() const override { return m_form.windowTitle().toStdU16String(); }

    bool showing() const override { return m_form.isVisible(); }

    std::vector<window::ShownBox> shownBoxes() const override
    {
        std::vector<window::ShownBox> shown(m_watch.seen.size());
        std::transform(m_watch.seen.begin(), m_watch.seen.end(), shown.begin(), [](const SeenBox &seen) {
            return window::ShownBox{seen.title.toStdU16String(),
                                    seen.text.toStdU16String(),
                                    seen.icon == QMessageBox::Critical,
                                    seen.okOnly && seen.buttonCount == 1,
                                    seen.modality != Qt::NonModal};
        });
        return shown;
    }

private:
    QWidget *widget(std::string_view name) const
    {
        if (name == "Form1")
            return const_cast<Form1 *>(&m_form);
        auto *found
            = m_form.findChild<QWidget *>(QString::fromLatin1(name.data(), static_cast<qsizetype>(name.size())));
        if (!found)
            ADD_FAILURE() << "no control " << name;
        return found;
    }
    QLineEdit *lineEdit(std::string_view name) const { return qobject_cast<QLineEdit *>(widget(name)); }

    ModalWatch m_watch;
    Form1 m_form;
};

} // namespace

std::unique_ptr<window::Driver> window::makeDriver()
{
    return std::make_unique<QtDriver>();
}

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}
