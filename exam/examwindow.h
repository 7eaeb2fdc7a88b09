#pragma once

#include "exam/clocksource.h"
#include "exam/minutecounter.h"

#include "document/documentjob.h"

#include <QMainWindow>

#include <array>
#include <memory>
#include <optional>

class QAction;
class QCheckBox;
class QLabel;
class QPixmap;
class QPushButton;
class QTimer;
class TabPages;
class AnswerSheet;
class Announcer;
class MediaDevice;
class PictureGround;

// frmVardo: the whole exam surface. Its controls carry their design names as
// objectName; what happens outside the window (pass-rate verdicts, help,
// ending the program) is asked for through signals and wired up by the app.
class ExamWindow : public QMainWindow
{
    Q_OBJECT

public:
    // The program's window: system clock and the real sound control.
    explicit ExamWindow(QWidget *parent = nullptr);
    // The clock reads `now`; sound commands go to `media` (not owned) when
    // given, otherwise to the window's own sound control.
    ExamWindow(ClockSource now, MediaDevice *media, QWidget *parent = nullptr);
    ~ExamWindow() override;

    // The latest Score's total; none before the first Score and after Start.
    std::optional<int> score() const { return m_total; }
    // What the score display shows: the score's digits, or nothing.
    QString scoreText() const;
    // Rewinds the open sound and plays it; silent when nothing is open.
    void PlaySound();
    QAction *exitAction() const { return m_exit; }
    QAction *aboutAction() const { return m_about; }
    // The time left in words, as Ctrl+T says it in every window.
    QString timeLeftWords() const;
    // What the time strip showing `caption` is heard as: 「残り 59 分」 for "0:59".
    static QString minutesWords(const QString &caption);
    // What Ctrl+R says: the groups the latest marking found right, by page.
    QString correctGroupsWords() const;
    // What the boxes of a group say after their page and choice while its
    // mark shows and its page is the one shown.
    static QString correctGroupWords();
    // What a zoom key of the paper says: its new size, or that it stays.
    static QString zoomWords(int percent, bool changed);

signals:
    void passRateRequested();

protected:
    void showEvent(QShowEvent *event) override;

private:
    PictureGround *buildGround();
    QSize clientSize() const;
    void buildMenus();
    void buildSideControls(QWidget *ground);
    void buildQuestionTabs(QWidget *ground);
    void buildAnswerTabs(QWidget *ground);
    void buildAnswerPage(int page, const QPixmap &markPicture);
    void applyStackingOrder(QWidget *ground);
    void applyFocusOrder();
    void buildAnnouncements();
    void announce(const QString &message);
    void announceMinutes();
    void showFocusOnEntry(QWidget *before, QWidget *now);
    void showMark(int group, bool correct);
    void sayShownMark();
    QString boxName(int page, const QCheckBox *box, bool markSaid) const;

    void onStartClicked();
    void onTick();
    void onScoreClicked();
    void onPassRateClicked();
    AnswerSheet readAnswerSheet() const;
    void setScore(std::optional<int> score);

    QAction *m_exit = nullptr;
    QAction *m_about = nullptr;
    QPushButton *m_start = nullptr;
    QPushButton *m_score = nullptr;
    QPushButton *m_passRate = nullptr;
    QLabel *m_seconds = nullptr;
    QLabel *m_scoreLabel = nullptr;
    std::optional<int> m_total;
    QTimer *m_timer = nullptr;
    ClockSource m_now;
    MinuteCounter m_minutes;
    MediaDevice *m_media = nullptr;
    QWidget *m_document = nullptr;
    // The paper's job, from the start of the constructor until the pane takes it.
    std::unique_ptr<DocumentJob> m_paperJob;
    TabPages *m_questionTabs = nullptr;
    TabPages *m_answerTabs = nullptr;
    std::array<QLabel *, 27> m_marks{};
    std::array<QLabel *, 11> m_pictures{};
    Announcer *m_announcer = nullptr;
    std::array<std::array<QCheckBox *, 8>, 27> m_boxes{};
};
