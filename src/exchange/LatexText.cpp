#include "exchange/LatexText.h"

#include "core/Codec.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <map>

namespace folianto {
namespace {

// Characters that form a typographic ligature when doubled.
bool IsLigaturePair(char a, char b)
{
    return a == b && (a == '-' || a == '`' || a == '\'' || a == ',');
}

// Accent commands and the combining mark each puts on its argument.
const std::map<QString, char16_t>& AccentMarks()
{
    static const std::map<QString, char16_t> marks = {
        {QStringLiteral("'"), 0x0301}, {QStringLiteral("`"), 0x0300}, {QStringLiteral("^"), 0x0302},
        {QStringLiteral("\""), 0x0308}, {QStringLiteral("~"), 0x0303}, {QStringLiteral("="), 0x0304},
        {QStringLiteral("."), 0x0307}, {QStringLiteral("u"), 0x0306}, {QStringLiteral("v"), 0x030C},
        {QStringLiteral("H"), 0x030B}, {QStringLiteral("c"), 0x0327}, {QStringLiteral("d"), 0x0323},
        {QStringLiteral("b"), 0x0331}, {QStringLiteral("k"), 0x0328}, {QStringLiteral("r"), 0x030A},
        {QStringLiteral("t"), 0x0361},
    };
    return marks;
}

char16_t CombiningMark(const QString& name)
{
    const auto it = AccentMarks().find(name);
    return it == AccentMarks().end() ? 0 : it->second;
}

// Commands that stand for one character.
const std::map<QString, QString>& SymbolCommands()
{
    static const std::map<QString, QString> symbols = [] {
        std::map<QString, QString> m;
        const auto add = [&m](const char* name, const char* utf8) {
            m[QString::fromLatin1(name)] = QString::fromUtf8(utf8);
        };
        add("ss", "ß"); add("ae", "æ"); add("AE", "Æ"); add("oe", "œ"); add("OE", "Œ"); add("o", "ø");
        add("O", "Ø"); add("aa", "å"); add("AA", "Å"); add("l", "ł"); add("L", "Ł"); add("i", "ı");
        add("j", "ȷ"); add("dh", "ð"); add("DH", "Ð"); add("th", "þ"); add("TH", "Þ"); add("ng", "ŋ");
        add("textbackslash", "\\"); add("textbraceleft", "{"); add("textbraceright", "}");
        add("textasciitilde", "~"); add("textasciicircum", "^"); add("textquotedbl", "\"");
        add("textendash", "–"); add("textemdash", "—"); add("euro", "€"); add("texteuro", "€");
        add("EUR", "€"); add("S", "§"); add("textsection", "§"); add("P", "¶"); add("pounds", "£");
        add("textsterling", "£"); add("copyright", "©"); add("textcopyright", "©");
        add("textregistered", "®"); add("texttrademark", "™"); add("dots", "…"); add("ldots", "…");
        add("textellipsis", "…"); add("quotedblbase", "„"); add("glqq", "„"); add("grqq", "“");
        add("glq", "‚"); add("grq", "‘"); add("guillemotleft", "«"); add("guillemotright", "»");
        add("flqq", "«"); add("frqq", "»"); add("textdegree", "°"); add("textbullet", "•");
        add("dag", "†"); add("ddag", "‡"); add("textdagger", "†"); add("textperiodcentered", "·");
        add("textexclamdown", "¡"); add("textquestiondown", "¿"); add("textunderscore", "_");
        add("textdollar", "$"); add("textpercent", "%"); add("textampersand", "&");
        add("textquoteleft", "‘"); add("textquoteright", "’"); add("textquotedblleft", "“");
        add("textquotedblright", "”"); add("textless", "<"); add("textgreater", ">"); add("textbar", "|");
        add("nobreakspace", " "); add("space", " "); add("enspace", " "); add("quad", " ");
        add("qquad", " "); add("newline", " "); add("par", " "); add("relax", "");
        add("-", ""); add("/", ""); add("@", ""); add(",", " "); add(";", " "); add(":", " ");
        add("!", ""); add(" ", " "); add("\\", " ");
        add("{", "{"); add("}", "}"); add("$", "$"); add("&", "&"); add("%", "%"); add("#", "#");
        add("_", "_");
        return m;
    }();
    return symbols;
}

// Commands whose argument is ordinary text (the argument's braces are
// dropped as grouping braces) and switches that only change the style.
bool IsStyleCommand(const QString& name)
{
    static const char* const names[] = {
        "emph", "textit", "textbf", "textsc", "textrm", "textsf", "texttt", "textup", "textsl", "textmd",
        "textnormal", "mkbibquote", "mkbibemph", "enquote", "mbox", "hbox", "url", "href", "NoCaseChange",
        "MakeUppercase", "MakeLowercase", "uppercase", "lowercase", "it", "bf", "em", "sc", "rm", "sf", "tt",
        "sl", "upshape", "itshape", "bfseries", "scshape", "normalfont", "protect", "ensuremath",
        "textsuperscript", "textsubscript", "foreignlanguage", "hyphenation"};
    const QByteArray latin = name.toLatin1();
    for (const char* n : names)
        if (latin == n)
            return true;
    return false;
}

bool IsLetter(QChar c)
{
    return (c >= QLatin1Char('a') && c <= QLatin1Char('z')) || (c >= QLatin1Char('A') && c <= QLatin1Char('Z'));
}

class Decoder {
public:
    explicit Decoder(const QString& in, const std::vector<LatexMacro>& macros = {}) : in_(in), macros_(macros) {}

    QString run(QStringList& kept)
    {
        while (pos_ < in_.size())
            step(kept);
        return out_;
    }

private:
    void step(QStringList& kept)
    {
        const QChar c = in_[pos_];
        if (c == QLatin1Char('{') || c == QLatin1Char('}')) {
            ++pos_;
        } else if (c == QLatin1Char('\\')) {
            command(kept);
        } else if (c == QLatin1Char('$')) {
            math(kept);
        } else if (c == QLatin1Char('~')) {
            out_ += QLatin1Char(' ');
            ++pos_;
        } else if (startsWith("---")) {
            out_ += QChar(0x2014);
            pos_ += 3;
        } else if (startsWith("--")) {
            out_ += QChar(0x2013);
            pos_ += 2;
        } else if (startsWith("``")) {
            out_ += QChar(0x201C);
            pos_ += 2;
        } else if (startsWith("''")) {
            out_ += QChar(0x201D);
            pos_ += 2;
        } else if (startsWith(",,")) {
            out_ += QChar(0x201E);
            pos_ += 2;
        } else {
            out_ += c;
            ++pos_;
        }
    }

    bool startsWith(const char* s) const
    {
        return QStringView(in_).mid(pos_).startsWith(QLatin1String(s));
    }

    void skipBlanks()
    {
        while (pos_ < in_.size() && (in_[pos_] == QLatin1Char(' ') || in_[pos_] == QLatin1Char('\t')))
            ++pos_;
    }

    // "\name" or "\symbol" at pos_; pos_ ends after it (and after the blanks a
    // command word swallows).
    QString commandName()
    {
        const qsizetype start = ++pos_;
        if (pos_ >= in_.size())
            return {};
        if (!IsLetter(in_[pos_]))
            return QString(in_[pos_++]);
        while (pos_ < in_.size() && IsLetter(in_[pos_]))
            ++pos_;
        const QString name = in_.mid(start, pos_ - start);
        skipBlanks();
        return name;
    }

    // The braced group at pos_, braces included; pos_ ends after it.
    QString group()
    {
        int depth = 0;
        const qsizetype start = pos_;
        do {
            if (in_[pos_] == QLatin1Char('{'))
                ++depth;
            else if (in_[pos_] == QLatin1Char('}'))
                --depth;
            ++pos_;
        } while (pos_ < in_.size() && depth > 0);
        return in_.mid(start, pos_ - start);
    }

    // The argument of an accent: a group's decoded text or one character.
    QString accentArgument()
    {
        skipBlanks();
        if (pos_ >= in_.size())
            return {};
        if (in_[pos_] == QLatin1Char('{')) {
            QStringList ignored;
            return Decoder(group()).run(ignored);
        }
        if (in_[pos_] == QLatin1Char('\\')) {
            const QString name = commandName();
            // The dotless letters stand for i and j under an accent.
            if (name == QLatin1String("i") || name == QLatin1String("j"))
                return name;
            const auto it = SymbolCommands().find(name);
            return it == SymbolCommands().end() ? QString() : it->second;
        }
        return QString(in_[pos_++]);
    }

    void command(QStringList& kept)
    {
        const qsizetype start = pos_;
        const QString name = commandName();
        if (const char16_t mark = CombiningMark(name)) {
            QString argument = accentArgument();
            if (argument.isEmpty())
                argument = QStringLiteral(" ");
            // A dotless i or j under an accent stands for the letter itself.
            if (argument[0] == QChar(0x0131))
                argument[0] = QLatin1Char('i');
            else if (argument[0] == QChar(0x0237))
                argument[0] = QLatin1Char('j');
            argument.insert(1, QChar(mark));
            out_ += argument.normalized(QString::NormalizationForm_C);
            return;
        }
        const auto it = SymbolCommands().find(name);
        if (it != SymbolCommands().end()) {
            out_ += it->second;
            return;
        }
        if (IsStyleCommand(name))
            return;
        // A macro that calls itself or grows without end stops at a limit.
        if (const LatexMacro* macro = macroNamed(name); macro && grown_ < 65536) {
            // The body with its arguments in place, read on as the input.
            QString body = QString::fromUtf8(macro->Body.c_str());
            QStringList arguments;
            for (int i = 0; i < macro->Arguments; ++i)
                arguments << takeArgument();
            for (int i = macro->Arguments; i >= 1; --i)
                body.replace(QLatin1Char('#') + QString::number(i), arguments[i - 1]);
            grown_ += body.size() + 64;
            in_ = body + in_.mid(pos_);
            pos_ = 0;
            return;
        }
        // Unknown: kept as written, so nothing of it is lost.
        const QString source = in_.mid(start, pos_ - start).trimmed();
        out_ += source;
        // A blank keeps what follows from reading as part of the name.
        if (pos_ > start + 1 + name.size() ||
            (pos_ < in_.size() && (IsLetter(in_[pos_]) || in_[pos_] == QLatin1Char('{'))))
            out_ += QLatin1Char(' ');
        kept << source;
    }

    const LatexMacro* macroNamed(const QString& name) const
    {
        const std::string n = name.toStdString();
        for (const LatexMacro& m : macros_)
            if (m.Name == n)
                return &m;
        return nullptr;
    }

    // A braced group (without its braces) or a single character.
    QString takeArgument()
    {
        skipBlanks();
        if (pos_ >= in_.size())
            return {};
        if (in_[pos_] != QLatin1Char('{'))
            return QString(in_[pos_++]);
        const QString braced = group();
        return braced.mid(1, braced.endsWith(QLatin1Char('}')) ? braced.size() - 2 : -1);
    }

    void math(QStringList& kept)
    {
        qsizetype end = in_.indexOf(QLatin1Char('$'), pos_ + 1);
        if (end < 0)
            end = in_.size() - 1;
        const QString source = in_.mid(pos_, end - pos_ + 1);
        out_ += source;
        kept << source;
        pos_ = end + 1;
    }

    QString in_;
    const std::vector<LatexMacro>& macros_;
    qsizetype grown_ = 0; // characters the macros have put in
    qsizetype pos_ = 0;
    QString out_;
};

// Unicode text as Windows-1252 (lossless); `kept` names the pieces of the
// source that stay as written.
LatexDecoded ToCp1252Kept(const QString& text, const QStringList& kept)
{
    LatexDecoded result;
    for (const QString& k : kept)
        result.Kept.push_back(k.toStdString());
    result.Text = ToCp1252(text);
    return result;
}

// True when the text holds anything the decoder would change.
bool HasMarkup(const std::string& s)
{
    for (std::size_t i = 0; i < s.size(); ++i) {
        const char c = s[i];
        if (c == '\\' || c == '{' || c == '}' || c == '$' || c == '~')
            return true;
        if (i + 1 < s.size() && IsLigaturePair(c, s[i + 1]))
            return true;
    }
    return false;
}

} // namespace

std::string LatexEscape(const std::string& cp1252, const std::string& lineBreak)
{
    std::string out;
    out.reserve(cp1252.size() + cp1252.size() / 8);
    for (std::size_t i = 0; i < cp1252.size(); ++i) {
        char c = cp1252[i];
        if (const CharReference ref = c == '&' ? ReferenceAt(cp1252, i) : CharReference{}; ref.length > 0) {
            i += ref.length - 1;
            const int byte = Cp1252Byte(ref.codePoint);
            if (byte < 0) {
                // BibTeX files are UTF-8: the character itself.
                out += QString::fromUcs4(&ref.codePoint, 1).toStdString();
                continue;
            }
            c = static_cast<char>(byte);
        }
        switch (c) {
        case '\\': out += "\\textbackslash{}"; break;
        // BibTeX counts every brace, escaped or not: only commands keep the
        // value balanced.
        case '{': out += "\\textbraceleft{}"; break;
        case '}': out += "\\textbraceright{}"; break;
        case '~': out += "\\textasciitilde{}"; break;
        case '^': out += "\\textasciicircum{}"; break;
        case '$': case '&': case '%': case '#': case '_':
            out += '\\';
            out += c;
            break;
        case '\r':
            if (i + 1 < cp1252.size() && cp1252[i + 1] == '\n')
                ++i;
            out += lineBreak;
            break;
        case '\n': out += lineBreak; break;
        default:
            if (static_cast<unsigned char>(c) < 0x20) {
                out += ' ';
            } else if (static_cast<unsigned char>(c) >= 0x80) {
                out += Cp1252ToUtf8(std::string(1, c));
            } else {
                out += c;
                if (i + 1 < cp1252.size() && IsLigaturePair(c, cp1252[i + 1]))
                    out += "{}";
            }
        }
    }
    return out;
}

LatexDecoded LatexDecode(const std::string& utf8, const std::vector<LatexMacro>& macros)
{
    if (!HasMarkup(utf8))
        return {Utf8ToCp1252(utf8), {}};
    const QString in = QString::fromUtf8(utf8.data(), static_cast<qsizetype>(utf8.size()));
    QStringList kept;
    std::vector<LatexMacro> known = macros;
    known.push_back({"noopsort", 1, ""}); // the sorting idiom, also where no @preamble defines it
    const QString decoded = Decoder(in, known).run(kept);
    return ToCp1252Kept(decoded, kept);
}

bool IsValidUtf8(const std::string& bytes)
{
    std::size_t i = 0;
    const std::size_t n = bytes.size();
    while (i < n) {
        const auto c = static_cast<unsigned char>(bytes[i]);
        std::size_t extra = 0;
        char32_t min = 0;
        if (c < 0x80) {
            ++i;
            continue;
        }
        if ((c & 0xE0) == 0xC0) {
            extra = 1;
            min = 0x80;
        } else if ((c & 0xF0) == 0xE0) {
            extra = 2;
            min = 0x800;
        } else if ((c & 0xF8) == 0xF0) {
            extra = 3;
            min = 0x10000;
        } else {
            return false;
        }
        if (i + extra >= n)
            return false;
        char32_t u = c & (0x3F >> extra);
        for (std::size_t k = 1; k <= extra; ++k) {
            const auto d = static_cast<unsigned char>(bytes[i + k]);
            if ((d & 0xC0) != 0x80)
                return false;
            u = (u << 6) | (d & 0x3F);
        }
        if (u < min || u > 0x10FFFF || (u >= 0xD800 && u <= 0xDFFF))
            return false;
        i += extra + 1;
    }
    return true;
}

} // namespace folianto
