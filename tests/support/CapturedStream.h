// SPDX-License-Identifier: GPL-2.0-or-later
#pragma once

#include <QByteArray>
#include <QString>

#include <cstdio>
#include <cstdlib>

// A stream in memory, read back as text.
class CapturedStream
{
public:
    CapturedStream() { m_file = open_memstream(&m_buffer, &m_size); }
    ~CapturedStream()
    {
        std::fclose(m_file);
        std::free(m_buffer);
    }
    CapturedStream(const CapturedStream &) = delete;
    CapturedStream &operator=(const CapturedStream &) = delete;
    std::FILE *file() const { return m_file; }
    QByteArray bytes()
    {
        std::fflush(m_file);
        return QByteArray(m_buffer, qsizetype(m_size));
    }
    QString text() { return QString::fromLocal8Bit(bytes()); }

private:
    char *m_buffer = nullptr;
    size_t m_size = 0;
    std::FILE *m_file = nullptr;
};
