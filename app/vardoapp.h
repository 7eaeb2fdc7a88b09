#pragma once

#include "exam/clocksource.h"
#include "windows/secondarywindow.h"

#include <QObject>
#include <QPointer>

#include <array>
#include <memory>

class ExamWindow;
class MediaDevice;

// Owns the program's windows and wires them together: the exam window knows
// nothing of the verdict and help windows, this class connects them.
class VardoApp : public QObject
{
    Q_OBJECT

public:
    VardoApp();
    // The exam window reads `now` and sends its sound commands to `media`
    // (not owned; null for its own sound control).
    VardoApp(ClockSource now, MediaDevice *media);
    ~VardoApp() override;

    // Opens the exam window alone, centred; everything else waits for first use.
    void start();
    ExamWindow *examWindow() const;
    // The open verdict window of a band 1..6, or the open help window; null when closed.
    QWidget *passLineWindow(int band) const;
    QWidget *helpWindow() const;

private:
    void onPassRateRequested();
    void onAbout();
    void onExit();
    QWidget *withTimeKey(QWidget *window);

    ClockSource m_now;
    MediaDevice *m_media = nullptr;
    QPointer<ExamWindow> m_exam;
    std::array<std::unique_ptr<SecondaryWindow>, 6> m_passLines;
    SecondaryWindow m_help;
};
