#include "app/vardoapp.h"

#include "exam/examwindow.h"
#include "help/helpwindow.h"
#include "windows/placement.h"
#include "results/passlinewindow.h"
#include "results/passrate.h"
#include "widgets/announcer.h"

#include <QAction>
#include <QShortcut>

#include <utility>

VardoApp::VardoApp() : VardoApp(systemTime, nullptr)
{}

VardoApp::VardoApp(ClockSource now, MediaDevice *media)
    : m_now(std::move(now)), m_media(media), m_help([this] { return withTimeKey(new HelpWindow); })
{
    for (int band = 1; band <= int(m_passLines.size()); ++band)
        m_passLines[band - 1] =
            std::make_unique<SecondaryWindow>([this, band] { return withTimeKey(new PassLineWindow(band)); });
}

// Ctrl+T says the time left in whichever window the candidate is in.
QWidget *VardoApp::withTimeKey(QWidget *window)
{
    auto *announcer = new Announcer(window);
    auto *key = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), window);
    key->setObjectName(QStringLiteral("timeLeftKey"));
    connect(key, &QShortcut::activated, announcer, [this, announcer] {
        if (m_exam)
            announcer->announce(m_exam->timeLeftWords());
    });
    return window;
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
