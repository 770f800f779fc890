// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/AVIGrabber.h"

#include "core/ListingPorts.h"
#include "core/SafeFile.h"
#include "viewing/MovieFrameSave.h"
#include "platform/MountTable.h"
#include "platform/MoviePlayback.h"
#include "platform/SoundPlayer.h"
#include "ui/kit/HelpHints.h"
#include "ui/MovieChooser.h"
#include "ui/MovieView.h"
#include "ui/kit/PictureButton.h"
#include "ui/kit/Skin.h"
#include "ui/kit/TellUser.h"
#include "ui/kit/WindowPlacement.h"

#include <QDir>
#include <QFileInfo>
#include <QHideEvent>
#include <QSlider>

TAVIForm::TAVIForm(QWidget *parent)
    : QWidget(parent, Qt::Window), m_opticalMountPointOf(opticalMountPointOf),
      m_chooser(std::make_unique<FileDialogMovieChooser>()), m_playback(new MoviePlayback(this))
{
    setObjectName(QStringLiteral("AVIForm"));
    setWindowTitle(tr("AVI Frame Grabber"));
    resize(561, 390);
    Skin::apply(this, QStringLiteral("grabber_skin.png"), QColor(0, 0, 0));
    buildControls();
    WindowPlacement::centreOnScreen(this);

    m_timer1.setInterval(10);
    connect(&m_timer1, &QTimer::timeout, this, &TAVIForm::Timer1Timer);
    connect(m_playback, &MoviePlayback::frameShown, m_view, &MovieView::showFrame);
    connect(m_playback, &MoviePlayback::ended, this, &TAVIForm::AMediaPlayerNotify);
}

TAVIForm::~TAVIForm() = default;

void TAVIForm::buildControls()
{
    struct ButtonRow {
        const char *name;
        const char *picture;
        const char *label;
        QRect place;
        const char *hint;
        void (TAVIForm::*click)();
    };
    const ButtonRow rows[] = {
        {"OpenAVIButton", "grabber_openavi.png", QT_TR_NOOP("Open AVI"), QRect(17, 63, 101, 26),
         QT_TR_NOOP("Click here to open an avi movie. AVI's should be 320w x 240h or smaller."),
         &TAVIForm::ChooseAVIButtonClick},
        {"OpenMPG", "grabber_openmpg.png", QT_TR_NOOP("Open MPG"), QRect(15, 93, 105, 26),
         QT_TR_NOOP("Click here to open an mpg movie. MPG's should be 320w x 240h or smaller."),
         &TAVIForm::OpenMPGClick},
        {"SaveAVIButton", "grabber_save.png", QT_TR_NOOP("Save"), QRect(28, 137, 81, 24),
         QT_TR_NOOP("Click here to save the current frame as a JPG file. The name and location of this new "
                    "file will be the same as the movie file."),
         &TAVIForm::SaveAVIButtonClick},
        {"PauseLabel", "grabber_pause.png", QT_TR_NOOP("Pause"), QRect(36, 179, 68, 21),
         QT_TR_NOOP("Click here to pause your movie.  You must pause the before using the slider bar."),
         &TAVIForm::PauseLabelClick},
        {"PlayLabel", "grabber_play.png", QT_TR_NOOP("Play"), QRect(43, 206, 50, 25),
         QT_TR_NOOP("Click here to play or unpause your movie."), &TAVIForm::PlayLabelClick},
        {"PowerButton", "grabber_power.png", QT_TR_NOOP("Close"), QRect(48, 253, 42, 42),
         QT_TR_NOOP("Close window"), &TAVIForm::PowerButtonClick},
    };
    for (const ButtonRow &row : rows) {
        PictureButton *button =
            PictureButton::place(this, QString::fromLatin1(row.name), QString::fromLatin1(row.picture),
                                 tr(row.label), row.place, tr(row.hint));
        connect(button, &QAbstractButton::clicked, this, row.click);
    }

    m_trackBar = new QSlider(Qt::Horizontal, this);
    m_trackBar->setObjectName(QStringLiteral("TrackBar"));
    m_trackBar->setGeometry(185, 337, 323, 29);
    m_trackBar->setRange(0, 0);
    m_trackBar->setSingleStep(1);
    m_trackBar->setPageStep(1);
    m_trackBar->setAutoFillBackground(true);
    QPalette grey = m_trackBar->palette();
    grey.setColor(QPalette::Window, QColor(192, 192, 192));
    m_trackBar->setPalette(grey);
    m_trackBar->setFocusPolicy(Qt::StrongFocus);
    HelpHints::setHint(
        m_trackBar,
        tr("Drag the indicator left and right to navigate through your movie. Click and hold your "
           "left mouse button while dragging left or right. You can also use the left and right "
           "arrow keys on the keyboard to backup/advance one frame at a time."));
    connect(m_trackBar, &QSlider::valueChanged, this, &TAVIForm::TrackBarChange);
    setFocusProxy(m_trackBar);

    m_view = new MovieView(this);
    m_view->setObjectName(QStringLiteral("MScrollBox"));
    m_view->setGeometry(184, 47, 325, 245);
    m_view->hide();
}

void TAVIForm::setChooser(std::unique_ptr<MovieChooser> chooser)
{
    m_chooser = std::move(chooser);
}

QString TAVIForm::currentFolder() const
{
    return m_currentFolder ? m_currentFolder() : QDir::currentPath();
}

void TAVIForm::tell(const QString &text)
{
    tellUser(m_messages, this, text);
}

void TAVIForm::FormCreate(const QString &startMovie)
{
    m_playback->close();
    if (!m_playback->open(startMovie, MoviePlayback::Seeking::Player)) {
        const QString error = m_playback->errorString();
        QTimer::singleShot(0, this, [this, error] { tell(error); });
        return;
    }
    m_playback->play();
}

void TAVIForm::ChooseAVIButtonClick()
{
    openMovie(false);
}

void TAVIForm::OpenMPGClick()
{
    openMovie(true);
}

void TAVIForm::openMovie(bool mpg)
{
    const QString pattern = mpg ? QStringLiteral("*.mpg") : QStringLiteral("*.avi");
    m_view->show();
    const QString path = m_chooser->askMovie(this, currentFolder(), pattern);
    if (path.isEmpty())
        return;
    m_timer1.stop();
    m_grabberPlaying = false;
    m_chosenMovie = false;
    // An MPEG stream seeks to key frames only; its frames on a seek are decoded forward.
    const bool programStream =
        mpg || QFileInfo(path).suffix().compare(QLatin1String("mpg"), Qt::CaseInsensitive) == 0;
    if (!m_playback->open(path, programStream ? MoviePlayback::Seeking::DecodeForward
                                              : MoviePlayback::Seeking::Player)) {
        m_view->showFrame({});
        tell(m_playback->errorString());
        return;
    }
    m_chosenMovie = true;
    {
        const QSignalBlocker quiet(m_trackBar);
        m_trackBar->setMaximum(int(qMax<qint64>(0, m_playback->length() - 1)));
        m_trackBar->setValue(1);
    }
    if (!mpg) {
        m_timer1.start();
        m_playback->play();
        m_grabberPlaying = true;
    } else {
        m_playback->play();
        m_view->update();
        m_grabberPlaying = true;
        m_timer1.start();
    }
}

void TAVIForm::PlayLabelClick()
{
    if (m_playback->isOpen() && m_playback->position() == m_playback->length() - 1)
        m_playback->seek(1);
    m_view->show();
    m_playback->play();
    m_view->update();
    m_timer1.start();
    m_grabberPlaying = true;
}

void TAVIForm::PauseLabelClick()
{
    m_grabberPlaying = false;
    if (m_playback->isPlaying())
        m_playback->pause();
    else if (m_playback->isPaused())
        m_playback->resume();
}

void TAVIForm::TrackBarChange()
{
    if (!m_grabberPlaying)
        m_playback->seek(m_trackBar->value());
}

void TAVIForm::Timer1Timer()
{
    if (!m_playback->isOpen())
        return;
    if (m_playback->position() == 0)
        m_playback->seek(1);
    if (m_playback->position() == m_playback->length()) {
        m_playback->seek(m_playback->length() - 1);
        m_playback->stop();
    }
    m_trackBar->setValue(int(m_playback->position()));
}

void TAVIForm::AMediaPlayerNotify()
{
    // The end may be reported before a tick has seen it: park the movie as a tick would.
    if (m_playback->position() == m_playback->length()) {
        m_playback->seek(m_playback->length() - 1);
        m_trackBar->setValue(int(m_playback->position()));
    }
    if (m_playback->position() >= m_playback->length() - 1) {
        m_grabberPlaying = false;
        m_timer1.stop();
    }
}

void TAVIForm::SaveAVIButtonClick()
{
    // The tick stops first: stopping may wait for the decoder with the events running, and a tick
    // meanwhile would move the position.
    m_timer1.stop();
    m_grabberPlaying = false;
    m_playback->stop();
    if (!m_chosenMovie || !m_playback->isOpen()) {
        tell(tr("You must choose a file first"));
        return;
    }
    const QString mountPoint = m_opticalMountPointOf ? m_opticalMountPointOf(currentFolder()) : QString();
    if (!mountPoint.isEmpty()) {
        tell(tr("Can not write to CD ROM (%1)").arg(mountPoint));
        return;
    }
    if (m_sounds)
        m_sounds->play(QStringLiteral("SaveAVI.wav"));
    const QString movie = m_playback->path();
    QString reason;
    const QImage frame = m_playback->frameAtPosition(&reason);
    if (frame.isNull()) {
        tell(tr("%1 has no picture to save: %2").arg(QDir::toNativeSeparators(movie), reason));
        return;
    }
    const MovieFrameSave::Result saved =
        MovieFrameSave::save(frame, movie, SafeFile::Replace::RegularFileOnly);
    if (!saved.ok()) {
        tell(saved.error);
        return;
    }
    if (QFileInfo(movie).suffix().toUpper() != QLatin1String("MPG")) {
        tell(tr("%1 was created.").arg(saved.path));
    } else {
        tell(tr("This feature is still under development. %1 was created as a placemarker.").arg(saved.path));
        move(pos() - QPoint(1, 1));
    }
}

void TAVIForm::PowerButtonClick()
{
    Q_EMIT powerPressed();
    m_view->hide();
    close();
}

void TAVIForm::hideEvent(QHideEvent *event)
{
    QWidget::hideEvent(event);
    if (!event->spontaneous())
        FormClose();
}

void TAVIForm::FormClose()
{
    m_timer1.stop();
    m_grabberPlaying = false;
    if (m_playback->isOpen()) {
        m_playback->stop();
        m_playback->seek(0);
    }
}
