// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/WindowGenerationUi.h"

#include "core/MediaListing.h"
#include "platform/MovieFrameGrabber.h"
#include "ui/FileListView.h"
#include "ui/NameOverWrite.h"
#include "ui/NameWebPage.h"
#include "ui/Scanner.h"
#include "ui/ScannerControls.h"
#include "ui/WindowFeedback.h"
#include "viewing/MovieFrameSave.h"

#include <QApplication>
#include <QEventLoop>
#include <QItemSelectionModel>
#include <QMessageBox>
#include <QThread>

#include <memory>

WindowGenerationUi::WindowGenerationUi(TMainForm &mainForm, WindowFeedback &feedback, TNameitForm &nameDialog,
                                       TNameOver &overwriteDialog)
    : m_mainForm(mainForm), m_feedback(feedback), m_nameDialog(nameDialog), m_overwriteDialog(overwriteDialog)
{
}

void WindowGenerationUi::progressSetMaximum(int maximum)
{
    m_feedback.progressSetMaximum(maximum);
}
void WindowGenerationUi::progressShow()
{
    m_feedback.progressShow();
}
void WindowGenerationUi::progressStep()
{
    m_feedback.progressStep();
}
void WindowGenerationUi::letEventsRun()
{
    m_feedback.letEventsRun();
}
void WindowGenerationUi::showMessage(const QString &text)
{
    m_feedback.showMessage(text);
}
void WindowGenerationUi::showErrorBox(const QString &text)
{
    m_feedback.showErrorBox(text);
}
void WindowGenerationUi::playSound(const QString &fileName)
{
    m_feedback.playSound(fileName);
}
void WindowGenerationUi::progressCreate()
{
    m_feedback.progressCreate();
}
bool WindowGenerationUi::progressIsShown() const
{
    return m_feedback.progressIsShown();
}
void WindowGenerationUi::progressClose()
{
    m_feedback.progressClose();
}

NameDialogAnswer WindowGenerationUi::askPageName()
{
    m_nameDialog.setFilesOfThePage(m_mainForm.listing().FileListBox()); // the working list the run took
    return m_nameDialog.ask(m_mainForm.options());
}

void WindowGenerationUi::showWarningBox(const QString &text)
{
    QMessageBox::warning(&m_mainForm, QApplication::applicationDisplayName(), text); // fixed texts, no names
}

bool WindowGenerationUi::confirmOverwrite(const QString &text, const std::function<QString()> &write)
{
    return m_overwriteDialog.ask(text, write);
}

void WindowGenerationUi::selectFirstFileListRow()
{
    FileListView *list = m_mainForm.controls().FileListBoxSH;
    if (list->rowCount() == 0)
        return;
    const QModelIndex first = list->model()->index(0, 0, list->rootIndex());
    list->selectionModel()->setCurrentIndex(first,
                                            QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
    list->flushPendingChange();
}

void WindowGenerationUi::hideViewer()
{
    if (QWidget *viewer = m_mainForm.viewerWindow())
        viewer->hide();
}

void WindowGenerationUi::createHiddenViewer()
{
    // The page builder measures pictures itself; a viewer window is made only when one is asked for.
}

void WindowGenerationUi::closeViewer()
{
    if (QWidget *viewer = m_mainForm.viewerWindow())
        viewer->close();
}

void WindowGenerationUi::preview()
{
    m_mainForm.PreviewButtonClick();
}

bool WindowGenerationUi::askMakeMoviePictures(int missing)
{
    QMessageBox box(QMessageBox::Question, QApplication::applicationDisplayName(),
                    QCoreApplication::translate("WindowGenerationUi",
                                                "Movies without a picture: %1. The page would show a broken "
                                                "picture for each of them. Make their pictures now from the "
                                                "frame at a tenth of each movie?")
                        .arg(missing),
                    QMessageBox::Ok | QMessageBox::Cancel, &m_mainForm);
    box.setObjectName(QStringLiteral("MoviePicturesQuestion"));
    box.setDefaultButton(QMessageBox::Ok);
    return box.exec() == QMessageBox::Ok;
}

// The movies are decoded on a thread of their own, so the windows keep being drawn meanwhile.
int WindowGenerationUi::makeMoviePictures(const QStringList &movies)
{
    QList<MovieFrameSave::Result> results;
    QEventLoop loop;
    std::unique_ptr<QThread> worker(QThread::create([&movies, &results] {
        for (const QString &movie : movies)
            results << MovieFrameSave::saveFrameOf(movie, &MovieFrameGrabber::frameAtTenth);
    }));
    QObject::connect(worker.get(), &QThread::finished, &loop, &QEventLoop::quit);
    QApplication::setOverrideCursor(Qt::BusyCursor);
    worker->start();
    loop.exec();
    worker->wait();
    QApplication::restoreOverrideCursor();
    int made = 0;
    QStringList failures;
    for (const MovieFrameSave::Result &result : std::as_const(results)) {
        if (result.ok())
            ++made;
        else
            failures << result.error;
    }
    if (!failures.isEmpty())
        m_feedback.showMessageLines(failures);
    return made;
}
