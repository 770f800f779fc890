// SPDX-License-Identifier: GPL-2.0-or-later
#include "ui/FileChooser.h"
#include "ui/kit/FormDialogs.h"

#include <QApplication>
#include <QColorDialog>
#include <QFile>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>

// The real dialogs behind the forms' choosers: Qt's own widget dialogs, answered from a timer.
class TestFormDialogs : public QObject
{
    Q_OBJECT

private Q_SLOTS:
    void fileDialogListsPicturesWhateverTheirCase()
    {
        QTemporaryDir dir;
        for (const char *name : {"a.jpg", "B.JPG", "c.Gif", "notes.txt"}) {
            QFile file(dir.filePath(name));
            QVERIFY(file.open(QIODevice::WriteOnly));
        }
        QStringList listed;
        QString title;
        QTimer::singleShot(0, [&] {
            auto *dialog = qobject_cast<QFileDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            title = dialog->windowTitle();
            dialog->setDirectory(dir.path());
            auto *model = dialog->findChild<QFileSystemModel *>();
            QTRY_VERIFY(model && model->rowCount(model->index(dir.path())) > 0);
            QTest::qWait(100);
            const QModelIndex root = model->index(dir.path());
            for (int row = 0; row < model->rowCount(root); ++row) {
                const QModelIndex index = model->index(row, 0, root);
                if (!(model->flags(index) & Qt::ItemIsEnabled))
                    continue; // filtered out names stay greyed or hidden
                listed << model->fileName(index);
            }
            dialog->findChild<QLineEdit *>("fileNameEdit")->setText(dir.filePath("B.JPG"));
            static_cast<QDialog *>(dialog)->accept();
        });
        const QString chosen =
            QtFormDialogs().askFile(nullptr, "Browse for Background", FileChooser::pictureFilter());
        QCOMPARE(title, QStringLiteral("Browse for Background"));
        QCOMPARE(chosen, dir.filePath("B.JPG"));
        listed.sort();
        QCOMPARE(listed, (QStringList{"B.JPG", "a.jpg", "c.Gif"}));
    }

    void colourDialog()
    {
        QTimer::singleShot(0, [] {
            auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget());
            if (!dialog)
                return;
            dialog->setCurrentColor(QColor(0x12, 0x34, 0x56));
            dialog->accept();
        });
        QCOMPARE(QtFormDialogs().askColor(nullptr, Qt::black),
                 std::optional<QColor>(QColor(0x12, 0x34, 0x56)));
        QTimer::singleShot(0, [] {
            if (auto *dialog = qobject_cast<QColorDialog *>(QApplication::activeModalWidget()))
                dialog->reject();
        });
        QCOMPARE(QtFormDialogs().askColor(nullptr, Qt::black), std::nullopt);
    }
};

QTEST_MAIN(TestFormDialogs)
#include "tst_FormDialogs.moc"
