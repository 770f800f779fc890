// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QProgressBar>

// A progress bar that writes the share done as a truncated whole percentage ("42%"), over a silver
// trough, in bold black.
class GaugeBar final : public QProgressBar
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GaugeBar)

public:
    explicit GaugeBar(QWidget *parent = nullptr);

    QString text() const override;
};
