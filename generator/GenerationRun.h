#pragma once

#include "core/MediaKinds.h"

#include <QObject>
#include <QString>
#include <QStringList>

#include <functional>

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

    // The create button's handler: one whole run, to its end or its first stop.
    void WebButtonClick();

    const QStringList &WebSourceMemo() const { return m_webSource; }
    QString SoundPictureName() const { return m_soundPictureName; }
    bool isRunning() const { return m_running; }

Q_SIGNALS:
    void runStarted();
    void pageWritten(const QString &path);
    void runFinished(bool pageWritten);

private:
    // Each returns false where the run ends (a stop or a failure, reported).
    bool runSteps(); // true when the page was written
    bool takeFiles();
    bool takePickList();
    bool askName();
    bool prepareOptions();
    bool enterFolder();
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
    void finishPage(const QString &page, const QStringList &names);
    void fail(const QString &text);
    void closeViewerIfOpen();

    MediaListing &m_listing;
    PageOptions &m_options;
    MainState &m_state;
    GenerationUi &m_ui;
    PickListPort *m_pickList;
    OpticalCheck m_opticalMountPoint;

    QStringList m_webSource;
    QString m_soundPictureName = QStringLiteral("None");
    QString m_folder; // the page folder, as it was when the run entered it
    MediaKind m_kind = mkNone;
    // The chosen background lies elsewhere: its copy takes the older one's place.
    bool m_replaceBackground = false;
    // The clean-up was asked for: the old thumbnail files go just before the new ones are made.
    bool m_deleteOldThumbnails = false;
    bool m_running = false;
};
