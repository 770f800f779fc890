// SPDX-License-Identifier: GPL-2.0-or-later
// The main window's life: creation, first showing, the first-run timer, quitting and closing.
#include "ui/Scanner.h"

#include "core/MediaListing.h"
#include "core/PageOptions.h"
#include "platform/UserSettings.h"
#include "ui/FolderTreeView.h"
#include "ui/ScannerControls.h"
#include "ui/kit/ShadowText.h"
#include "ui/kit/WindowPlacement.h"

#include <QApplication>
#include <QCloseEvent>
#include <QDir>
#include <QSettings>

namespace
{

const QString kHelpSystemKey = QStringLiteral("HelpSystem");

} // namespace

void TMainForm::FormCreate()
{
    // A Linux user expects to start in the home folder (the drive root stood here on Windows).
    selectFolder(QDir::homePath());
    m_state.StoredHelpSystem = UserSettings::open()->value(kHelpSystemKey).toString();
    WindowPlacement::centreOnScreen(this);
}

void TMainForm::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    FormShow();
}

void TMainForm::FormShow()
{
    if (!m_state.FirstRun)
        return;
    m_timer1.start();
    m_state.FirstRun = false;
}

void TMainForm::Timer1Timer()
{
    chooseKind(mkGifJpg);
    m_timer1.stop();
    m_controls->ListLabel->setVisible(true);
    m_options.setHelpSystem(m_state.StoredHelpSystem == QLatin1String("0"));
}

void TMainForm::HaltButtonClick()
{
    {
        const auto settings = UserSettings::open();
        m_options.saveHelpSystem(*settings);
        settings->sync();
        if (settings->status() != QSettings::NoError)
            qWarning("The help setting could not be saved to %s", qPrintable(settings->fileName()));
    }
    m_state.Quitting = true;
    QApplication::quit();
}

void TMainForm::closeEvent(QCloseEvent *event)
{
    // Closing by other means ends the program too, without saving the help setting.
    QWidget::closeEvent(event);
    if (event->isAccepted())
        QApplication::quit();
}

void TMainForm::ShrinkitClick()
{
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (QWidget *window : windows) {
        if (window->isVisible() && window->windowType() != Qt::ToolTip && window->windowType() != Qt::Popup)
            window->showMinimized();
    }
}

void TMainForm::bringToFront(const QString &activationToken)
{
    // Qt's Wayland window hands this token to the compositor's activation as it activates the
    // window: that also brings a minimised window back, which a client cannot do by itself there.
    if (!activationToken.isEmpty() && QGuiApplication::platformName().startsWith(QLatin1String("wayland")))
        qputenv("XDG_ACTIVATION_TOKEN", activationToken.toUtf8());
    if (isMinimized())
        showNormal();
    // While a modal window (the splash, a message) is up, that is the one to see.
    QWidget *front = QApplication::activeModalWidget() ? QApplication::activeModalWidget() : this;
    front->raise();
    front->activateWindow();
}
