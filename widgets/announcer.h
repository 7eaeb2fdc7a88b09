#pragma once

#include <QString>
#include <QWidget>

// Says a short message through the screen reader, without moving the focus
// and without showing anything: a notification that appears to screen
// readers alone, which they speak as it appears ("通知 残り時間 10 分").
class Announcer : public QWidget
{
    Q_OBJECT

public:
    explicit Announcer(QWidget *parent);

    void announce(const QString &message);
};

// Lets screen readers hear announcers as notifications; see widgets::install().
void installAnnouncerAccessibility();
