// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/guager.h"

#include "ui/kit/GaugeBar.h"
#include "ui/kit/Skin.h"
#include "ui/kit/WindowPlacement.h"

#include <algorithm>

TGuageForm::TGuageForm(QWidget *mainWindow)
    : QWidget(nullptr), m_mainWindow(mainWindow), m_gauge(new GaugeBar(this))
{
    setObjectName(QStringLiteral("GuageForm"));
    setWindowTitle(tr("Progress"));
    setAttribute(Qt::WA_DeleteOnClose);         // released when closed
    setAttribute(Qt::WA_ShowWithoutActivating); // the user may go on working in other windows
    setWindowFlags(Qt::Tool | Qt::WindowStaysOnTopHint);
    Skin::apply(this, QStringLiteral("guager_skin.png"), QColor(Qt::black));

    m_gauge->setObjectName(QStringLiteral("Gauge"));
    m_gauge->setGeometry(21, 20, 306, 13);
    m_gauge->setRange(0, 100);
    m_gauge->setValue(0);
}

void TGuageForm::setMaximum(int maximum)
{
    // An empty range would turn the bar into a busy indicator; no files to do reads 0%.
    m_gauge->setMaximum(std::max(maximum, m_gauge->minimum() + 1));
}

void TGuageForm::setProgress(int progress)
{
    m_gauge->setValue(std::clamp(progress, m_gauge->minimum(), m_gauge->maximum()));
}

int TGuageForm::progress() const
{
    return m_gauge->value();
}

void TGuageForm::step()
{
    setProgress(progress() + 1);
}

QString TGuageForm::percentText() const
{
    return m_gauge->text();
}

void TGuageForm::showEvent(QShowEvent *event)
{
    FormShow();
    QWidget::showEvent(event);
}

void TGuageForm::FormShow()
{
    WindowPlacement::placeBeside(this, m_mainWindow, OffsetFromMainWindow);
}
