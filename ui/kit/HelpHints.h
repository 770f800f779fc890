// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QObject>
#include <QPointer>
#include <QTimer>

class BalloonHint;
class PageOptions;
class QWidget;

// The help-hint convention of the whole program. Each hinted control has a fixed text; a control
// whose hint follows the help system shows it only while HelpSystem is on, decided at each pointer
// move over it. A few controls show theirs always. Hints appear 1 ms after the pointer rests on a
// control (10 s when another hint is still up) and stay up to 100 s.
class HelpHints final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(HelpHints)

public:
    enum Mode { FollowsHelpSystem, Always, Never };

    static HelpHints &instance();

    // The options whose HelpSystem decides; until set, hints that follow it are off.
    void setOptions(PageOptions *options) { m_options = options; }

    static void setHint(QWidget *control, const QString &text, Mode mode = FollowsHelpSystem);
    static QString hintOf(const QWidget *control);

    // Whether the control's hint would show now (its show-hint switch, as last decided).
    bool showsHint(const QWidget *control) const;
    BalloonHint *balloon() const { return m_balloon; }
    QWidget *hintedControl() const { return m_control; }
    void hideHint();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    HelpHints();
    bool decide(QWidget *control);
    void showPending();

    PageOptions *m_options = nullptr;
    BalloonHint *m_balloon = nullptr;
    QPointer<QWidget> m_control;
    QPointer<QWidget> m_pending;
    QTimer m_showTimer;
    QTimer m_hideTimer;
};
