#pragma once

#include <QMessageBox>
#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <vector>

// What a modal message box showed before it was closed.
struct SeenBox
{
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QList<QAbstractButton *>::size_type buttonCount = 0;
    bool okOnly = false;
    Qt::WindowModality modality = Qt::NonModal;
    QPixmap iconPixmap;
    QFont font;
    Qt::WindowFlags flags;
};

// Looks for the application's modal box while it is open, records it, lets the test act on it,
// then closes it. A box that appears with no test expecting it is closed too and counted, so a
// stray box fails the test instead of hanging it.
class ModalWatch : public QObject
{
public:
    using Action = std::function<void(QMessageBox &)>;

    ModalWatch();

    // The next box gets `act` (by default a click on its OK button) instead of being a stray.
    void expect(Action act = {});
    // From now on every box is expected, and gets a click on its OK button.
    void expectEvery() { m_expectEvery = true; }
    std::vector<SeenBox> seen;
    int strays = 0;

private:
    void poll();

    QTimer m_timer;
    QMessageBox *m_handling = nullptr;
    std::vector<Action> m_expected;
    bool m_expectEvery = false;
};
