#pragma once

#include <QByteArray>

#include <algorithm>
#include <cstring>

// A growing UTF-8 buffer for writing XML text fast: reserve room, write through the raw pointer,
// commit the end. Internal to src/platform.
class XmlTextBuffer
{
public:
    explicit XmlTextBuffer(qsizetype capacity) { m_bytes.resize(std::max<qsizetype>(capacity, 256)); }

    char *reserve(qsizetype n)
    {
        if (m_size + n > m_bytes.size())
            m_bytes.resize(std::max(m_bytes.size() * 2, m_size + n));
        return m_bytes.data() + m_size;
    }
    void commit(const char *end) { m_size = end - m_bytes.constData(); }
    void append(const char *text, qsizetype n)
    {
        std::memcpy(reserve(n), text, size_t(n));
        m_size += n;
    }
    void append(const char *text) { append(text, qsizetype(std::strlen(text))); }
    void append(const QByteArray &text) { append(text.constData(), text.size()); }
    QByteArray take()
    {
        m_bytes.resize(m_size);
        return std::move(m_bytes);
    }

private:
    QByteArray m_bytes;
    qsizetype m_size = 0;
};
