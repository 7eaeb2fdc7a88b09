#include "app/vardoapp.h"

#include "exam/examwindow.h"
#include "platform/placement.h"

VardoApp::VardoApp() = default;

VardoApp::~VardoApp()
{
    delete m_exam;
}

void VardoApp::start()
{
    m_exam = new ExamWindow;
    m_exam->setAttribute(Qt::WA_DeleteOnClose);
    placement::centerOnScreen(m_exam);
    m_exam->show();
}

ExamWindow *VardoApp::examWindow() const
{
    return m_exam;
}
