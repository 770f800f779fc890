// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QPointer>
#include <QWidget>

class GaugeBar;

// The progress window of a generation run: a bar showing the share of files done. Always on top,
// placed at 80, 30 from the main window's top-left corner each time it is shown, and released when
// it is closed. Create one for each run.
class TGuageForm final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TGuageForm)

public:
    static constexpr QPoint OffsetFromMainWindow{80, 30};

    // mainWindow: the window it appears beside (may be null: then it is centred).
    explicit TGuageForm(QWidget *mainWindow);

    GaugeBar *Gauge() const { return m_gauge; }

    void setMaximum(int maximum);
    void setProgress(int progress);
    int progress() const;
    void step(); // one more file done
    QString percentText() const;

protected:
    void showEvent(QShowEvent *event) override;

private:
    void FormShow();

    QPointer<QWidget> m_mainWindow;
    GaugeBar *m_gauge;
};
