// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include "generator/RunFeedback.h"

#include <QStringList>

#include <functional>

// Feedback that records every call in order ("max 4", "show", "step", "message: ...") and can act
// when the maker lets events run, as a person using other windows would.
class ThumbRecordingFeedback final : public RunFeedback
{
public:
    void progressSetMaximum(int maximum) override { calls << QStringLiteral("max %1").arg(maximum); }
    void progressShow() override { calls << QStringLiteral("show"); }
    void progressStep() override
    {
        calls << QStringLiteral("step");
        ++steps;
    }
    void letEventsRun() override
    {
        ++eventRuns;
        if (onEvents)
            onEvents(steps);
    }
    void showMessage(const QString &text) override
    {
        calls << QStringLiteral("message: ") + text;
        messages << text;
    }
    void showErrorBox(const QString &text) override { calls << QStringLiteral("error box: ") + text; }
    void playSound(const QString &fileName) override { calls << QStringLiteral("sound: ") + fileName; }

    QStringList calls;
    QStringList messages;
    int steps = 0;
    int eventRuns = 0;
    std::function<void(int stepsSoFar)> onEvents;
};
