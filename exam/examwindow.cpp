#include "exam/examwindow.h"

#include "exam/answerkey.h"
#include "exam/appfolder.h"
#include "exam/examlayout.h"
#include "exam/pictures.h"
#include "exam/questiondocument.h"
#include "widgets/announcer.h"
#include "widgets/arrowrow.h"
#include "widgets/background.h"
#include "widgets/designfont.h"
#include "document/documentview.h"
#include "widgets/fittedlabel.h"
#include "widgets/focusring.h"
#include "widgets/pageframe.h"
#include "widgets/freshaccessible.h"
#include "widgets/pictureground.h"
#include "widgets/screenfit.h"
#include "sound/mediacontrol.h"
#include "widgets/spokenlabel.h"
#include "reading/figurelabel.h"
#include "widgets/tabpages.h"
#include "widgets/twips.h"

#include <QAccessible>
#include <QApplication>
#include <QCheckBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QTimer>

#include <algorithm>
#include <utility>

using namespace examlayout;

namespace {

const QColor pink(255, 128, 255);
const QColor yellow(255, 255, 0);

QString text(const char *utf8)
{
    return QString::fromUtf8(utf8);
}

QRect pixels(const Rect &r)
{
    return twips::rect(r.left, r.top, r.width, r.height);
}

QString elementName(const QString &array, int index)
{
    return QStringLiteral("%1(%2)").arg(array).arg(index);
}

Qt::Alignment alignmentOf(Align align)
{
    switch (align) {
    case Align::Left: return Qt::AlignLeft | Qt::AlignTop;
    case Align::Centre: return Qt::AlignHCenter | Qt::AlignTop;
    case Align::Right: return Qt::AlignRight | Qt::AlignTop;
    }
    return Qt::AlignLeft | Qt::AlignTop;
}

template<typename Widget>
Widget *place(Widget *widget, const QString &name, const QRect &geometry)
{
    widget->setObjectName(name);
    widget->setGeometry(geometry);
    return widget;
}

// The captions the strips' spoken names already say ("あと %1 分", "%1 点").
const std::array<QString, 2> spokenByStrips = {QStringLiteral("Label1"), QStringLiteral("Label2")};

const BoxRow &boxRowFor(int choices)
{
    for (const BoxRow &row : boxRows) {
        if (row.choices == choices)
            return row;
    }
    Q_UNREACHABLE();
}

} // namespace

ExamWindow::ExamWindow(QWidget *parent) : ExamWindow(systemTime, nullptr, parent)
{}

ExamWindow::ExamWindow(ClockSource now, MediaDevice *media, QWidget *parent)
    : QMainWindow(parent), m_now(std::move(now)), m_media(media)
{
    setObjectName(QStringLiteral("frmVardo"));
    setWindowTitle(QStringLiteral("問題 （Vardo）"));
    setFont(designfont::make(designfont::gothic, 9));

    // The paper is read and parsed while the window is built; the job is
    // handed to the pane once it exists.
    m_paperJob = questiondocument::prefetch(questiondocument::candidates(), font());
    std::future<QImage> background = pictures::decodeBackground();
    // The menu bar first: whether the window fits its screen counts its height.
    buildMenus();
    PictureGround *ground = buildGround();
    // First, so that the paper is laid out while the rest is built.
    buildQuestionTabs(ground);
    buildAnswerTabs(ground);
    buildSideControls(ground);
    applyStackingOrder(ground);
    applyFocusOrder();
    buildAnnouncements();
    ground->setPicture(background.get());

    resize(screenfit::windowSize(this, clientSize()));
    m_questionTabs->setFocus(Qt::OtherFocusReason);
    connect(qApp, &QApplication::focusChanged, this, &ExamWindow::showFocusOnEntry);
}

// The focus shows from the start, not only after the first Tab: a window
// being shown forgets that keys moved its focus, and from Qt 6.9 on so does
// the focus a window's activation gives, which comes after the show.
void ExamWindow::showEvent(QShowEvent *event)
{
    QMainWindow::showEvent(event);
    setAttribute(Qt::WA_KeyboardFocusChange);
}

// The focus leaves the window as QWidget's destructor runs, when this part
// of it is gone already: no longer told.
ExamWindow::~ExamWindow()
{
    disconnect(qApp, &QApplication::focusChanged, this, &ExamWindow::showFocusOnEntry);
}

void ExamWindow::showFocusOnEntry(QWidget *before, QWidget *now)
{
    if (now && now->window() == this && (!before || before->window() != this))
        setAttribute(Qt::WA_KeyboardFocusChange);
}

// What changes without moving the focus is said through the announcer; the
// time left is said again on Ctrl+T, which no menu shows.
void ExamWindow::buildAnnouncements()
{
    m_announcer = new Announcer(this);
    auto *timeLeft = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_T), this);
    timeLeft->setObjectName(QStringLiteral("timeLeftKey"));
    connect(timeLeft, &QShortcut::activated, this, [this] { announce(timeLeftWords()); });
    // Which groups were right, which a sighted candidate finds page by page.
    auto *right = new QShortcut(QKeySequence(Qt::CTRL | Qt::Key_R), this);
    right->setObjectName(QStringLiteral("correctGroupsKey"));
    connect(right, &QShortcut::activated, this, [this] { announce(correctGroupsWords()); });
}

// 「正解 1-問1-1、2A-問3」 after a marking, the marks as they show.
QString ExamWindow::correctGroupsWords() const
{
    if (!m_total)
        return QStringLiteral("まだ採点していません");
    QStringList right;
    for (int page = 0; page < groupCount; ++page) {
        if (!m_marks[page]->isHidden())
            right.append(m_answerTabs->tabText(page));
    }
    return right.isEmpty() ? QStringLiteral("正解の問はありません")
                           : QStringLiteral("正解 ") + right.join(QStringLiteral("、"));
}

QString ExamWindow::minutesWords(const QString &caption)
{
    const std::optional<int> minutes = MinuteCounter::minutesIn(caption);
    return minutes ? QStringLiteral("残り %1 分").arg(*minutes) : caption;
}

QString ExamWindow::timeLeftWords() const
{
    if (!m_timer->isActive())
        return m_seconds->text().isEmpty() ? QStringLiteral("時間は計っていません") : QStringLiteral("時間切れです");
    return QStringLiteral("残り時間 %1 分").arg(m_minutes.remaining());
}

void ExamWindow::announce(const QString &message)
{
    m_announcer->announce(message);
}

// The client area: the background picture, unscaled from the top-left corner;
// scrolled where the window is larger than its screen.
PictureGround *ExamWindow::buildGround()
{
    auto *ground = new PictureGround(yellow);
    ground->setObjectName(QStringLiteral("ground"));
    const QSize design(twips::toPixels(clientWidth), twips::toPixels(clientHeight));
    setCentralWidget(screenfit::fits(this, clientSize()) ? ground : screenfit::scrolled(ground, design, this));
    return ground;
}

// The design's client area with the menu bar above it.
QSize ExamWindow::clientSize() const
{
    return QSize(twips::toPixels(clientWidth), twips::toPixels(clientHeight) + menuBar()->sizeHint().height());
}

void ExamWindow::buildMenus()
{
    QMenu *game = menuBar()->addMenu(QStringLiteral("ゲーム(&G)"));
    game->setObjectName(QStringLiteral("mnuGame"));
    m_exit = game->addAction(QStringLiteral("終了(&Q)"));
    m_exit->setObjectName(QStringLiteral("mnuExit"));

    QMenu *help = menuBar()->addMenu(QStringLiteral("ヘルプ(&H)"));
    help->setObjectName(QStringLiteral("mnuHelp"));
    m_about = help->addAction(QStringLiteral("バージョン情報(&A)"));
    m_about->setObjectName(QStringLiteral("mnuAbout"));
}

void ExamWindow::buildSideControls(QWidget *ground)
{
    QList<QPushButton *> made;
    for (const Button &button : buttons) {
        auto *control = place(new QPushButton(text(button.caption), ground), text(button.name), pixels(button.rect));
        control->setFont(designfont::make(designfont::gothic, 9, true));
        made.append(control);
    }
    m_start = made.at(0);
    m_score = made.at(1);
    m_passRate = made.at(2);
    connect(m_score, &QPushButton::clicked, this, &ExamWindow::onScoreClicked);
    connect(m_passRate, &QPushButton::clicked, this, &ExamWindow::onPassRateClicked);

    for (const Label &label : labels) {
        auto *control = place(new FittedLabel(QString(), ground), text(label.name), pixels(label.rect));
        // Before its caption, which a screen reader may be told of at once.
        if (std::find(spokenByStrips.begin(), spokenByStrips.end(), control->objectName()) != spokenByStrips.end())
            spoken::silence(control);
        control->setText(text(label.caption));
        control->setFont(designfont::make(designfont::gothic, label.points, true));
        control->setAlignment(alignmentOf(label.align));
        if (label.ground == Ground::Pink)
            fillBackground(control, pink);
    }
    m_seconds = ground->findChild<QLabel *>(QStringLiteral("lbl秒"));
    m_scoreLabel = ground->findChild<QLabel *>(QStringLiteral("lbl得点"));
    // The strips read "あと", time, "分" and score, "点" only to the eye.
    // The clock's "0:59" would be heard as fifty-nine seconds: its minutes.
    spoken::setWords(m_seconds, minutesWords, QStringLiteral("残り時間。Ctrl+T でいつでも聞けます"));
    spoken::setPattern(m_scoreLabel, QStringLiteral("%1 点"), QStringLiteral("得点"));
    // The average's comma is a decimal mark, which a reader would take for
    // two numbers, 55 and 91. Its caption never changes: a fixed name.
    auto *average = ground->findChild<QLabel *>(QStringLiteral("Label4"));
    Q_ASSERT(average); // one of examlayout.h's labels
    if (average)
        average->setAccessibleName(QStringLiteral("平均 55.91 点"));

    m_timer = new QTimer(this);
    m_timer->setObjectName(QStringLiteral("tmr時間"));
    m_timer->setInterval(1000);
    m_timer->setTimerType(Qt::PreciseTimer);
    connect(m_start, &QPushButton::clicked, this, &ExamWindow::onStartClicked);
    connect(m_timer, &QTimer::timeout, this, &ExamWindow::onTick);

    // The media control has its place on the window but is never shown.
    auto *holder = place(new QWidget(ground), QStringLiteral("MMControl1"), pixels(mediaControl));
    holder->hide();
    auto *control = new MediaControl(holder);
    // The module the build puts beside the program (sound/module).
    control->setSoundModule(QStringLiteral("vardo_sound"));
    if (!m_media)
        m_media = control;
}

void ExamWindow::buildQuestionTabs(QWidget *ground)
{
    m_questionTabs =
        place(new TabPages(12, twips::toPixels(tabHeight), ground), QStringLiteral("SSTab1"), pixels(questionTabs));
    m_questionTabs->setFont(designfont::make(designfont::gothic, 9));

    const int page = m_questionTabs->addPage(QStringLiteral("問題"));
    auto *document = place(new DocumentView, QStringLiteral("Scriptlet1"), pixels(documentPane));
    m_questionTabs->addToPage(page, document);
    questiondocument::showIn(document, questiondocument::candidates(), DocumentView::Wait::BeforeFirstShow,
                             std::move(m_paperJob));
    // Whatever the document's event says, it asks for the cue.
    connect(document, &DocumentView::eventRaised, this, [this] { PlaySound(); });
    // A link swaps the whole page without moving the focus.
    connect(document, &DocumentView::pageFollowed, this,
            [this](const QString &title) { announce(QStringLiteral("ページが変わりました。") + title); });
    connect(document, &DocumentView::zoomed, this,
            [this](int percent, bool changed) { announce(zoomWords(percent, changed)); });
    m_document = document;

    for (int i = 0; i < int(figurePages.size()); ++i) {
        const FigurePage &figure = figurePages[i];
        const int figurePage = m_questionTabs->addPage(text(figure.caption));
        // A screen reader names the figure by its tab and says what it shows,
        // whether or not its page was ever shown.
        auto *picture = place(new FigureLabel(text(figure.caption), pictures::figureDescription(i + 1)),
                              QStringLiteral("Picture%1").arg(i + 1), pixels(figure.box));
        picture->setFrameStyle(QFrame::Panel | QFrame::Sunken);
        picture->setLineWidth(2);
        picture->setAlignment(Qt::AlignLeft | Qt::AlignTop);
        // A Tab stop, so that a screen reader reaches it as it reaches the paper.
        picture->setFocusPolicy(Qt::StrongFocus);
        focusring::attach(picture);
        m_pictures[i] = picture;
        m_questionTabs->addToPage(figurePage, picture);
    }
    // Figures are decoded when their page is first shown, not at start-up.
    connect(m_questionTabs, &TabPages::currentChanged, this, [this](int page) {
        auto *picture = m_questionTabs->page(page)->findChild<QLabel *>(QStringLiteral("Picture%1").arg(page));
        if (picture && picture->pixmap().isNull())
            picture->setPixmap(pictures::figure(page));
    });
}

void ExamWindow::buildAnswerTabs(QWidget *ground)
{
    m_answerTabs =
        place(new TabPages(9, twips::toPixels(tabHeight), ground), QStringLiteral("SSTab2"), pixels(answerTabs));
    m_answerTabs->setFont(designfont::make(designfont::gothic, 9));
    m_answerTabs->setBackground(yellow);
    const QPixmap mark = pictures::mark();
    for (int page = 0; page < int(answerPages.size()); ++page)
        buildAnswerPage(page, mark);
    connect(m_answerTabs, &TabPages::currentChanged, this, &ExamWindow::sayShownMark);
}

void ExamWindow::buildAnswerPage(int page, const QPixmap &markPicture)
{
    const AnswerPage &answers = answerPages[page];
    const int group = page + 1;
    m_answerTabs->addPage(text(answers.caption));

    Rect frameRect = answerFrame;
    if (group == groupCount)
        frameRect.left = lastAnswerFrameLeft;
    // Made on their page, so that fonts are resolved once, not again on moving.
    auto *frame = place(new QGroupBox(QStringLiteral("答え"), m_answerTabs->page(page)),
                        QStringLiteral("Frame%1").arg(answers.frame), pixels(frameRect));
    pageframe::mark(frame);

    const BoxRow &row = boxRowFor(answers.choices);
    QList<QWidget *> boxes;
    for (int k = 1; k <= answers.choices; ++k) {
        const BoxSpan &span = row.boxes[k - 1];
        auto *box = place(new QCheckBox(text(circledDigits[k - 1]), frame),
                          elementName(QStringLiteral("chkVardo%1").arg(group), k),
                          twips::rect(span.left, boxTop, span.width, boxHeight));
        box->setAccessibleName(boxName(page, box, false));
        m_boxes[page][k - 1] = box;
        boxes.append(box);
    }
    arrowrow::attach(boxes);

    auto *mark =
        place(new QLabel(m_answerTabs->page(page)), elementName(QStringLiteral("pctマル"), group), pixels(markBox));
    mark->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    mark->setPixmap(markPicture);
    mark->setAccessibleName(QStringLiteral("正解"));
    mark->setAccessibleDescription(text(answers.caption));
    mark->hide();
    m_marks[page] = mark;
}

void ExamWindow::applyStackingOrder(QWidget *ground)
{
    for (auto it = stackingOrder.rbegin(); it != stackingOrder.rend(); ++it) {
        if (auto *widget = ground->findChild<QWidget *>(text(*it), Qt::FindDirectChildrenOnly))
            widget->raise();
    }
}

void ExamWindow::applyFocusOrder()
{
    QList<QWidget *> chain = {m_questionTabs, m_answerTabs, m_start, m_score, m_passRate, m_document};
    // Each figure in the paper's place: only one of them shows at a time.
    for (QLabel *picture : m_pictures)
        chain.append(picture);
    for (const auto &group : m_boxes) {
        for (QCheckBox *box : group) {
            if (box)
                chain.append(box);
        }
    }
    for (int i = 1; i < chain.size(); ++i)
        setTabOrder(chain.at(i - 1), chain.at(i));
}

QString ExamWindow::scoreText() const
{
    return m_scoreLabel->text();
}

AnswerSheet ExamWindow::readAnswerSheet() const
{
    AnswerSheet sheet;
    for (int g = 1; g <= groupCount; ++g) {
        for (int k = 1; k <= maxChoices; ++k) {
            if (const QCheckBox *box = m_boxes[g - 1][k - 1])
                sheet.setTicked(g, k, box->isChecked());
        }
    }
    return sheet;
}

// The first tick comes a full interval after this handler returns.
void ExamWindow::onStartClicked()
{
    m_timer->start();
    m_minutes.start(m_now());
    m_seconds->setText(m_minutes.text());
    // Disabled with the focus, the button would hand it to the next in
    // the order, 得点, where one more Space would end the attempt: the
    // candidate goes on to the first box of the answer page instead.
    if (m_start->hasFocus()) {
        m_boxes[m_answerTabs->currentIndex()][0]->setFocus(Qt::TabFocusReason);
        setAttribute(Qt::WA_KeyboardFocusChange); // a key's move, drawn as one
    }
    m_start->setEnabled(false);
    setScore(std::nullopt);
    for (int g = 1; g <= groupCount; ++g)
        showMark(g, false);
    sayShownMark();
    // Last, so that no change of the boxes' words follows it: a screen
    // reader may cut short what it is saying when the focused box changes.
    announce(QStringLiteral("開始 ") + timeLeftWords() + QStringLiteral("。残り時間は Ctrl+T で聞けます"));
}

// A mark about to show is read afresh: see refreshAccessible().
void ExamWindow::showMark(int group, bool correct)
{
    QLabel *mark = m_marks[group - 1];
    if (correct && mark->isHidden())
        refreshAccessible(mark);
    mark->setVisible(correct);
}

// A mark is heard with the boxes of its page while that page is shown, and
// only then: each change of a box's name is an event, and a screen reader
// with a long queue of events drops the notice that follows a marking. So a
// marking changes the names of one page, a page change those of two. The
// words go in the name, not the description: a reader may keep an object's
// description for a while and say the old one on coming back to it.
void ExamWindow::sayShownMark()
{
    const int shown = m_answerTabs->currentIndex();
    for (int page = 0; page < groupCount; ++page) {
        const bool said = page == shown && !m_marks[page]->isHidden();
        for (QCheckBox *box : m_boxes[page]) {
            if (!box)
                continue;
            const QString name = boxName(page, box, said);
            if (box->accessibleName() != name)
                box->setAccessibleName(name);
        }
    }
}

// 「1-問1-1 の ③」, and 「1-問1-1 の ③、この問は正解」 while its mark is heard.
QString ExamWindow::boxName(int page, const QCheckBox *box, bool markSaid) const
{
    QString name = m_answerTabs->tabText(page) + QStringLiteral(" の ") + box->text();
    if (markSaid)
        name += QStringLiteral("、") + correctGroupWords();
    return name;
}

// The paper's size as a zoom key left it.
QString ExamWindow::zoomWords(int percent, bool changed)
{
    return (changed ? QStringLiteral("文字の大きさ %1 パーセント")
                    : QStringLiteral("文字の大きさは %1 パーセントのままです"))
        .arg(percent);
}

QString ExamWindow::correctGroupWords()
{
    return QStringLiteral("この問は正解");
}

// The cue is opened on every tick so that it is ready whenever it is played;
// opening the file already open costs nothing.
void ExamWindow::onTick()
{
    if (m_minutes.advance(m_now())) {
        m_seconds->setText(m_minutes.text());
        announceMinutes();
    }
    if (!AppFolderPath().isEmpty())
        m_media->setFileName(AppFolderPath() + QStringLiteral("Zarod.wav"));
    m_media->command(QStringLiteral("Open"));
    if (m_minutes.remaining() == 0) {
        m_timer->stop();
        PlaySound();
    }
}

// 10 and 5 minutes before the end, and the end, besides the cue.
void ExamWindow::announceMinutes()
{
    constexpr int firstWarning = 10;
    constexpr int lastWarning = 5;
    const int left = m_minutes.remaining();
    if (left == 0)
        announce(QStringLiteral("時間です。終了です。解答はまだ変えられます"));
    else if (left == firstWarning || left == lastWarning)
        announce(QStringLiteral("残り %1 分").arg(left));
}

void ExamWindow::onScoreClicked()
{
    const Marking marking = MarkAnswers(readAnswerSheet());
    const bool stopsClock = m_timer->isActive();
    m_start->setEnabled(true);
    m_seconds->setText(QString());
    m_timer->stop();
    for (int g = 1; g <= groupCount; ++g)
        showMark(g, marking.correct[g - 1]);
    sayShownMark();
    setScore(marking.total);
    const auto correct = std::count(marking.correct.begin(), marking.correct.end(), true);
    QString words = QStringLiteral("得点 %1 点 %2 問中 %3 問正解").arg(marking.total).arg(groupCount).arg(correct);
    if (stopsClock)
        words += QStringLiteral("。時間を止めました");
    if (correct > 0)
        words += QStringLiteral("。正解の問は Ctrl+R で聞けます");
    announce(words);
}

// Before the first Score there is no verdict to open: say so.
void ExamWindow::onPassRateClicked()
{
    if (!m_total)
        announce(QStringLiteral("まだ採点していません。得点を押すと採点します"));
    emit passRateRequested();
}

// lbl得点 sizes itself to its text on one line; its height is fixed.
void ExamWindow::setScore(std::optional<int> score)
{
    m_total = score;
    m_scoreLabel->setText(score ? QString::number(*score) : QString());
    m_scoreLabel->resize(m_scoreLabel->sizeHint().width(), m_scoreLabel->height());
}

void ExamWindow::PlaySound()
{
    m_media->command(QStringLiteral("Prev"));
    m_media->command(QStringLiteral("Play"));
}
