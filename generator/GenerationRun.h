// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "core/MediaKinds.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <QSet>

#include <functional>
#include <memory>

class FolderHandle;
class GenerationUi;
class MediaListing;
class PageOptions;
class PickListPort;
struct MainState;

// The generation run: from a press of the create button to the page on disk. It works on the main
// window's listing and flags and on the page options, asks every question through GenerationUi and
// reports its course by signals, so the windows, the command-line maker and tests all drive the same
// run. Every file it writes is written safely: a page is complete or the old one stays whole, and
// nothing is written through a symbolic link planted in the page folder.
class GenerationRun final : public QObject
{
    Q_OBJECT
    Q_DISABLE_COPY_MOVE(GenerationRun)

public:
    // Given a folder, the mount point of the optical file system it lies on, or empty.
    using OpticalCheck = std::function<QString(const QString &folder)>;

    GenerationRun(MediaListing &listing, PageOptions &options, MainState &state, GenerationUi &ui,
                  PickListPort *pickList, OpticalCheck opticalMountPoint, QObject *parent = nullptr);
    ~GenerationRun() override;

    // The create button's handler: one whole run, to its end or its first stop.
    void WebButtonClick();

    // Work of the caller's that writes into the folder, done once the run holds the folder's lock and
    // before it builds the page (the command-line maker's movie pictures). Not done when the run stops
    // before it has the lock.
    void setBeforePage(std::function<void()> step) { m_beforePage = std::move(step); }

    const QStringList &WebSourceMemo() const { return m_webSource; }
    QString SoundPictureName() const { return m_soundPictureName; }
    bool isRunning() const { return m_running; }
    // How the last run went beyond its page: thumbnails not written, and whether it found another run
    // holding the folder (and, not waiting for it, stopped).
    int failedThumbnails() const { return m_failedThumbnails; }
    bool foundFolderBusy() const { return m_foundFolderBusy; }

Q_SIGNALS:
    void runStarted();
    void pageWritten(const QString &path);
    void runFinished(bool pageWritten);

private:
    // Each returns false where the run ends (a stop or a failure, reported).
    bool runSteps(); // true when the page was written
    bool takeFiles();
    void offerMoviePictures(const QStringList &names);
    bool takePickList();
    bool askName();
    bool prepareOptions();
    bool enterFolder();
    bool lockFolder();
    void tellSkippedNames();
    QString inFolder(const QString &name) const; // a path to name through the folder's handle
    bool folderVanished();     // true (and reported) once the folder entered is gone from its path
    bool refusedOpticalDisc(); // true: refused
    void takeBackgroundOutOfList();
    bool makePage(const QStringList &names);
    void settleSoundPicture();
    bool buildPage(const QStringList &names);
    bool writePage(const QStringList &names);
    QString formPageFile(); // MyFile and the counter step; empty when the page cannot be named
    bool overwritePage(const QString &page, const QByteArray &bytes, const QStringList &names);
    bool writeNewPage(const QString &page, const QByteArray &bytes, const QStringList &names);
    void copyBackground();
    bool finishPage(const QString &page, const QStringList &names); // false when the folder vanished
    void fail(const QString &text);
    void closeViewerIfOpen();

    MediaListing &m_listing;
    PageOptions &m_options;
    MainState &m_state;
    GenerationUi &m_ui;
    PickListPort *m_pickList;
    OpticalCheck m_opticalMountPoint;
    std::function<void()> m_beforePage;

    QStringList m_webSource;
    QString m_soundPictureName = QStringLiteral("None");
    QString m_folder;                       // the page folder, as it was when the run entered it
    std::unique_ptr<FolderHandle> m_handle; // that folder itself, locked for the run
    QSet<QString> m_toldSkippedNames;       // folders whose unreadable names were already reported
    int m_failedThumbnails = 0;
    bool m_foundFolderBusy = false;
    MediaKind m_kind = mkNone;
    // The chosen background lies elsewhere: its copy takes the older one's place.
    bool m_replaceBackground = false;
    // The clean-up was asked for: the old thumbnail files go just before the new ones are made.
    bool m_deleteOldThumbnails = false;
    bool m_running = false;
};
