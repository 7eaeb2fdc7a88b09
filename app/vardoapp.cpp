#include "app/vardoapp.h"

#include "exam/examwindow.h"
#include "help/helpwindow.h"
#include "windows/placement.h"
#include "results/passlinewindow.h"
#include "results/passrate.h"

#include <QAction>

#include <utility>

VardoApp::VardoApp() : VardoApp(systemTime, nullptr)
{
}

VardoApp::VardoApp(ClockSource now, MediaDevice *media)
    : m_now(std::move(now)), m_media(media), m_help([] { return new HelpWindow; })
{
    for (int band = 1; band <= int(m_passLines.size()); ++band)
        m_passLines[band - 1] = std::make_unique<SecondaryWindow>(
            [band] { return new PassLineWindow(band); });
}

VardoApp::~VardoApp()
{
    delete m_exam;
}

void VardoApp::start()
{
    m_exam = new ExamWindow(m_now, m_media);
    m_exam->setAttribute(Qt::WA_DeleteOnClose);
    connect(m_exam, &ExamWindow::passRateRequested, this, &VardoApp::onPassRateRequested);
    connect(m_exam->aboutAction(), &QAction::triggered, this, &VardoApp::onAbout);
    connect(m_exam->exitAction(), &QAction::triggered, this, &VardoApp::onExit);
    placement::centerOnScreen(m_exam);
    m_exam->show();
}

ExamWindow *VardoApp::examWindow() const
{
    return m_exam;
}

QWidget *VardoApp::passLineWindow(int band) const
{
    return m_passLines.at(band - 1)->window();
}

QWidget *VardoApp::helpWindow() const
{
    return m_help.window();
}

void VardoApp::onPassRateRequested()
{
    // Before the first Score, or after Start, there is no score to judge.
    if (const std::optional<int> score = m_exam->score()) {
        if (const std::optional<int> band = JudgePassRate(*score))
            m_passLines.at(*band - 1)->show();
    }
}

void VardoApp::onAbout()
{
    m_help.show();
}

// The process ends by itself once the last of these has closed.
void VardoApp::onExit()
{
    if (m_exam)
        m_exam->close();
    for (const auto &window : m_passLines)
        window->close();
    m_help.close();
}
