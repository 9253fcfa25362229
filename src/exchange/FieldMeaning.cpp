#include "exchange/FieldMeaning.h"

namespace folianto {
namespace {

using M = Meaning;

constexpr TypeMeaning kBook{M::Series, M::SeriesNumberOrVolume, M::Edition, M::Number, M::PageCount, M::Isbn};
constexpr TypeMeaning kArticle{M::Container, M::VolumeFallback, M::Volume, M::Issue, M::PageRange, M::IsbnOrIssn};

// Index: literature type.
constexpr TypeMeaning kMeanings[] = {
    kBook,                                                                          // 0 Monographie
    {M::Genre, M::Volume, M::Edition, M::Number, M::PageCount, M::Isbn},           // 1 Hochschulschrift
    kBook,                                                                          // 2 Sammelwerk
    {M::Container, M::Volume, M::Edition, M::Number, M::PageRange, M::Isbn},       // 3 Sammelwerkbeitrag
    kArticle,                                                                       // 4 Zeitschriftenaufsatz
    kArticle,                                                                       // 5 Zeitungsartikel
    kBook,                                                                          // 6 Audio-visuelles Material
    kBook,                                                                          // 7 graue Literatur
    kBook,                                                                          // 8 unklar
};

} // namespace

const TypeMeaning& MeaningOfType(int32_t typ)
{
    return kMeanings[typ >= 0 && typ < 9 ? typ : 8];
}

bool LooksLikeIssn(const std::string& text)
{
    std::string digits;
    for (char c : text) {
        if (c == '-' || c == ' ')
            continue;
        digits += c;
    }
    if (digits.size() != 8)
        return false;
    for (std::size_t i = 0; i < 8; ++i) {
        const char c = digits[i];
        if (!(c >= '0' && c <= '9') && !(i == 7 && (c == 'X' || c == 'x')))
            return false;
    }
    return true;
}

} // namespace folianto
