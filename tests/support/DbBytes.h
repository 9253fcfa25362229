#pragma once
// Database file content assembled byte by byte, independent of the writer.

#include <QByteArray>
#include <QFile>
#include <QString>

#include <cstdint>
#include <cstring>
#include <string>

namespace folianto::test {

struct Bytes {
    std::string b;

    Bytes& raw(const std::string& s)
    {
        b += s;
        return *this;
    }
    Bytes& i32(int32_t v)
    {
        for (int i = 0; i < 4; ++i)
            b += static_cast<char>((static_cast<uint32_t>(v) >> (8 * i)) & 0xFF);
        return *this;
    }
    Bytes& f32(float f)
    {
        uint32_t u;
        std::memcpy(&u, &f, 4);
        return i32(static_cast<int32_t>(u));
    }
    Bytes& f64(double d)
    {
        uint64_t u;
        std::memcpy(&u, &d, 8);
        for (int i = 0; i < 8; ++i)
            b += static_cast<char>((u >> (8 * i)) & 0xFF);
        return *this;
    }
    // A stored text: count, then the bytes.
    Bytes& text(const std::string& s) { return i32(static_cast<int32_t>(s.size())).raw(s); }
};

inline void WriteBytes(const QString& path, const std::string& bytes)
{
    QFile f(path);
    f.open(QIODevice::WriteOnly | QIODevice::Truncate);
    f.write(bytes.data(), static_cast<qint64>(bytes.size()));
}

inline std::string ReadBytes(const QString& path)
{
    QFile f(path);
    if (!f.open(QIODevice::ReadOnly))
        return "<missing>";
    return f.readAll().toStdString();
}

} // namespace folianto::test
