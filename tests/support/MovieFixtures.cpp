// SPDX-License-Identifier: GPL-2.0-or-later
#include "MovieFixtures.h"

#include <QProcess>

QString MovieFixtures::make(const QString &folder, const QStringList &specs)
{
    QProcess script;
    script.setProcessChannelMode(QProcess::MergedChannels);
    script.start(QStringLiteral("sh"),
                 QStringList{qEnvironmentVariable("TESSALOOM_SOURCE_DIR") +
                                 QStringLiteral("/tests/support/make_numbered_movies.sh"),
                             folder} +
                     specs);
    // ffmpeg is slow on a busy machine; the bound only keeps a stuck script from hanging the test.
    if (!script.waitForFinished(600'000) || script.exitStatus() != QProcess::NormalExit ||
        script.exitCode() != 0)
        return QStringLiteral("make_numbered_movies.sh failed: ") + QString::fromLocal8Bit(script.readAll());
    return {};
}

int MovieFixtures::frameNumberIn(const QImage &image, int dx, int dy)
{
    int number = 0;
    for (int k = 0; k < 7; ++k)
        if (qGray(image.pixel(16 + 16 * k + 8 - dx, 24 - dy)) > 128)
            number |= 1 << k;
    return number;
}
