#pragma once

#include "generator/RunFeedback.h"

#include <QTextStream>

// The run's feedback on a terminal: messages to standard output, errors to standard error; no
// progress window, no sounds and no window events to let run.
class ConsoleFeedback final : public RunFeedback
{
public:
    ConsoleFeedback(QTextStream &out, QTextStream &err) : m_out(out), m_err(err) {}

    void progressSetMaximum(int) override {}
    void progressShow() override {}
    void progressStep() override {}
    void letEventsRun() override {}
    void showMessage(const QString &text) override { m_out << text << Qt::endl; }
    void showErrorBox(const QString &text) override { m_err << text << Qt::endl; }
    void playSound(const QString &) override {}

private:
    QTextStream &m_out;
    QTextStream &m_err;
};
