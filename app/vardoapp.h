#pragma once

#include <QObject>
#include <QPointer>

class ExamWindow;

// Owns the program's windows and wires them together: the exam window knows
// nothing of the verdict and help windows, this class connects them.
class VardoApp : public QObject
{
    Q_OBJECT

public:
    VardoApp();
    ~VardoApp() override;

    // Opens the exam window alone, centred; everything else waits for first use.
    void start();
    ExamWindow *examWindow() const;

private:
    QPointer<ExamWindow> m_exam;
};
