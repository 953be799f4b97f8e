#include "ModalWatch.h"

#include <QAbstractButton>
#include <QApplication>

ModalWatch::ModalWatch()
{
    m_timer.setInterval(10);
    connect(&m_timer, &QTimer::timeout, this, &ModalWatch::poll);
    m_timer.start();
}

void ModalWatch::expect(Action act)
{
    m_expected.push_back(std::move(act));
}

void ModalWatch::poll()
{
    auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
    if (!box || !box->isVisible() || box == m_handling)
        return;
    seen.push_back({box->windowTitle(),
                    box->text(),
                    box->icon(),
                    box->buttons().size(),
                    box->standardButtons() == QMessageBox::Ok,
                    box->windowModality(),
                    box->iconPixmap(),
                    box->font(),
                    box->windowFlags()});
    if (m_expected.empty() && !m_expectEvery) {
        ++strays;
        box->reject();
        return;
    }
    Action act;
    if (!m_expected.empty()) {
        act = std::move(m_expected.front());
        m_expected.erase(m_expected.begin());
    }
    m_handling = box;
    // Acted on from a fresh event, not from inside this timer, so that the watch keeps polling
    // should the action itself open another box.
    QTimer::singleShot(0, box, [this, box, act = std::move(act)] {
        if (act)
            act(*box);
        else
            box->button(QMessageBox::Ok)->click();
    });
}
