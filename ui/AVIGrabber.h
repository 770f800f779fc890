// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QTimer>
#include <QWidget>

#include <functional>
#include <memory>

class MessagePort;
class MovieChooser;
class MoviePlayback;
class MovieView;
class QAbstractButton;
class QSlider;
class SoundPlayer;

// The frame grabber: plays an AVI or MPG movie, lets the user stop on the right frame and saves
// that frame as the JPEG picture the movie's page shows. It lives for the whole run; closing only
// hides it, and the loaded movie waits stopped at its start.
class TAVIForm final : public QWidget
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(TAVIForm)

public:
    using FolderSource = std::function<QString()>;
    using OpticalMountPointOf = std::function<QString(const QString &folder)>;

    explicit TAVIForm(QWidget *parent = nullptr);
    ~TAVIForm() override;

    void setMessages(MessagePort *messages) { m_messages = messages; }
    void setSounds(SoundPlayer *sounds) { m_sounds = sounds; }
    // The main window's current folder: where the choosers start, and what the CD-ROM check tests.
    void setCurrentFolder(FolderSource folder) { m_currentFolder = std::move(folder); }
    void setOpticalMountPointOf(OpticalMountPointOf test) { m_opticalMountPointOf = std::move(test); }
    void setChooser(std::unique_ptr<MovieChooser> chooser);

    // Opens the start movie and plays it unseen; a failure is reported once the event loop runs.
    void FormCreate(const QString &startMovie);

    MoviePlayback &playback() const { return *m_playback; }
    MovieView *MScrollBox() const { return m_view; }
    QSlider *TrackBar() const { return m_trackBar; }
    QTimer &Timer1() { return m_timer1; }
    bool GrabberPlaying() const { return m_grabberPlaying; }
    bool chosenMovie() const { return m_chosenMovie; }

public Q_SLOTS:
    void ChooseAVIButtonClick();
    void OpenMPGClick();
    void PlayLabelClick();
    void PauseLabelClick();
    void SaveAVIButtonClick();
    void PowerButtonClick();
    void TrackBarChange();
    void Timer1Timer();
    void AMediaPlayerNotify();

Q_SIGNALS:
    void powerPressed(); // the main window clears its Grabber check

protected:
    void hideEvent(QHideEvent *event) override;

private:
    void buildControls();
    void openMovie(bool mpg);
    void FormClose();
    void tell(const QString &text);
    QString currentFolder() const;

    MessagePort *m_messages = nullptr;
    SoundPlayer *m_sounds = nullptr;
    FolderSource m_currentFolder;
    OpticalMountPointOf m_opticalMountPointOf;
    std::unique_ptr<MovieChooser> m_chooser;
    MoviePlayback *m_playback;
    MovieView *m_view = nullptr;
    QSlider *m_trackBar = nullptr;
    QTimer m_timer1;
    bool m_grabberPlaying = false;
    bool m_chosenMovie = false;
};
