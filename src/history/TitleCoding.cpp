#include "history/TitleCoding.h"

#include <array>
#include <cstring>

namespace folianto {

void PutU8(std::string& out, uint8_t v)
{
    out.push_back(static_cast<char>(v));
}

void PutU32(std::string& out, uint32_t v)
{
    const char b[4] = {static_cast<char>(v & 0xFF), static_cast<char>(v >> 8 & 0xFF),
                       static_cast<char>(v >> 16 & 0xFF), static_cast<char>(v >> 24 & 0xFF)};
    out.append(b, sizeof b);
}

void PutI32(std::string& out, int32_t v)
{
    PutU32(out, static_cast<uint32_t>(v));
}

void PutI64(std::string& out, int64_t v)
{
    const uint64_t u = static_cast<uint64_t>(v);
    PutU32(out, static_cast<uint32_t>(u & 0xFFFFFFFFu));
    PutU32(out, static_cast<uint32_t>(u >> 32));
}

void PutBytes(std::string& out, const std::string& bytes)
{
    PutU32(out, static_cast<uint32_t>(bytes.size()));
    out += bytes;
}

bool ByteCursor::Take(std::size_t n, const char*& at)
{
    if (!ok_ || static_cast<std::size_t>(end_ - p_) < n) {
        ok_ = false;
        return false;
    }
    at = p_;
    p_ += n;
    return true;
}

uint8_t ByteCursor::U8()
{
    const char* at;
    return Take(1, at) ? static_cast<uint8_t>(at[0]) : 0;
}

uint32_t ByteCursor::U32()
{
    const char* at;
    if (!Take(4, at))
        return 0;
    const auto* u = reinterpret_cast<const unsigned char*>(at);
    return static_cast<uint32_t>(u[0]) | static_cast<uint32_t>(u[1]) << 8 | static_cast<uint32_t>(u[2]) << 16 |
           static_cast<uint32_t>(u[3]) << 24;
}

int64_t ByteCursor::I64()
{
    const uint64_t low = U32();
    const uint64_t high = U32();
    return static_cast<int64_t>(high << 32 | low);
}

std::string ByteCursor::Bytes()
{
    const uint32_t n = U32();
    const char* at;
    return Take(n, at) ? std::string(at, n) : std::string();
}

namespace {

template <class T> uint32_t Bits32(T v)
{
    static_assert(sizeof(T) == 4);
    uint32_t u;
    std::memcpy(&u, &v, sizeof u);
    return u;
}

template <class T> T FromBits32(uint32_t u)
{
    T v;
    std::memcpy(&v, &u, sizeof v);
    return v;
}

void PutText(std::string& out, const TBuchRec& r)
{
    PutBytes(out, r.Text);
    PutI32(out, r.Len);
}

void GetText(ByteCursor& in, TBuchRec& r)
{
    r.Text = in.Bytes();
    r.Len = in.I32();
}

void PutNumbers(std::string& out, const TBuch& b)
{
    PutI32(out, b.Auflage);
    PutI32(out, b.Verleihstatus);
    PutI32(out, b.JahrNum);
    PutU32(out, Bits32(b.Preis));
    PutI32(out, b.TypNum);
    PutI32(out, b.AnzPics);
    uint64_t kauf;
    std::memcpy(&kauf, &b.Kaufdatum, sizeof kauf);
    PutI64(out, static_cast<int64_t>(kauf));
    PutI32(out, b.BuchNr);
    PutU8(out, b.Showing ? 1 : 0);
}

void GetNumbers(ByteCursor& in, TBuch& b)
{
    b.Auflage = in.I32();
    b.Verleihstatus = in.I32();
    b.JahrNum = in.I32();
    b.Preis = FromBits32<float>(in.U32());
    b.TypNum = in.I32();
    b.AnzPics = in.I32();
    const uint64_t kauf = static_cast<uint64_t>(in.I64());
    std::memcpy(&b.Kaufdatum, &kauf, sizeof kauf);
    b.BuchNr = in.I32();
    b.Showing = in.U8() != 0;
}

void PutPictures(std::string& out, const TBuch& b)
{
    PutU32(out, static_cast<uint32_t>(b.Pics.size()));
    for (const TPicRec& pic : b.Pics) {
        PutI32(out, pic.Size);
        PutI32(out, pic.Kind);
        PutU32(out, static_cast<uint32_t>(pic.Data.size()));
        out.append(reinterpret_cast<const char*>(pic.Data.data()), pic.Data.size());
        PutText(out, pic.BildTitel);
    }
}

bool GetPictures(ByteCursor& in, TBuch& b)
{
    const uint32_t n = in.U32();
    b.Pics.clear();
    for (uint32_t i = 0; i < n && in.ok(); ++i) {
        TPicRec pic;
        pic.Size = in.I32();
        pic.Kind = in.I32();
        const std::string data = in.Bytes();
        pic.Data.assign(data.begin(), data.end());
        GetText(in, pic.BildTitel);
        b.Pics.push_back(std::move(pic));
    }
    return in.ok();
}

} // namespace

bool SamePictures(const TBuch& x, const TBuch& y)
{
    if (x.Pics.size() != y.Pics.size())
        return false;
    for (std::size_t i = 0; i < x.Pics.size(); ++i) {
        const TPicRec& a = x.Pics[i];
        const TPicRec& b = y.Pics[i];
        if (a.Size != b.Size || a.Kind != b.Kind || a.BildTitel.Text != b.BildTitel.Text ||
            a.BildTitel.Len != b.BildTitel.Len || a.Data != b.Data)
            return false;
    }
    return true;
}

bool SameTitle(const TBuch& x, const TBuch& y)
{
    for (int f = 1; f <= TextFieldCount; ++f)
        if (x.TextField(f).Text != y.TextField(f).Text || x.TextField(f).Len != y.TextField(f).Len)
            return false;
    return x.Auflage == y.Auflage && x.Verleihstatus == y.Verleihstatus && x.JahrNum == y.JahrNum &&
           Bits32(x.Preis) == Bits32(y.Preis) && x.TypNum == y.TypNum && x.AnzPics == y.AnzPics &&
           std::memcmp(&x.Kaufdatum, &y.Kaufdatum, sizeof x.Kaufdatum) == 0 && x.BuchNr == y.BuchNr &&
           SamePictures(x, y);
}

void EncodeTitle(std::string& out, const TBuch& b)
{
    for (int f = 1; f <= TextFieldCount; ++f)
        PutText(out, b.TextField(f));
    PutNumbers(out, b);
    PutPictures(out, b);
}

bool DecodeTitle(ByteCursor& in, TBuch& b)
{
    for (int f = 1; f <= TextFieldCount; ++f)
        GetText(in, b.TextField(f));
    GetNumbers(in, b);
    return GetPictures(in, b);
}

void EncodeTitlePatch(std::string& out, const TBuch& before, const TBuch& after, bool picturesKept)
{
    uint32_t changed = 0;
    for (int f = 1; f <= TextFieldCount; ++f) {
        const TBuchRec& a = before.TextField(f);
        const TBuchRec& b = after.TextField(f);
        if (a.Text != b.Text || a.Len != b.Len)
            changed |= 1u << (f - 1);
    }
    PutU32(out, changed);
    for (int f = 1; f <= TextFieldCount; ++f)
        if (changed & 1u << (f - 1))
            PutText(out, after.TextField(f));
    PutNumbers(out, after);
    const bool pictures = !picturesKept && !SamePictures(before, after);
    PutU8(out, pictures ? 1 : 0);
    if (pictures)
        PutPictures(out, after);
}

bool ApplyTitlePatch(ByteCursor& in, TBuch& b)
{
    const uint32_t changed = in.U32();
    for (int f = 1; f <= TextFieldCount; ++f)
        if (changed & 1u << (f - 1))
            GetText(in, b.TextField(f));
    GetNumbers(in, b);
    if (in.U8() != 0)
        return GetPictures(in, b);
    return in.ok();
}

uint32_t Crc32(const char* data, std::size_t size)
{
    static const std::array<uint32_t, 256> table = [] {
        std::array<uint32_t, 256> t{};
        for (uint32_t i = 0; i < 256; ++i) {
            uint32_t c = i;
            for (int k = 0; k < 8; ++k)
                c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
            t[i] = c;
        }
        return t;
    }();
    uint32_t crc = 0xFFFFFFFFu;
    for (std::size_t i = 0; i < size; ++i)
        crc = table[(crc ^ static_cast<unsigned char>(data[i])) & 0xFF] ^ (crc >> 8);
    return crc ^ 0xFFFFFFFFu;
}

} // namespace folianto
