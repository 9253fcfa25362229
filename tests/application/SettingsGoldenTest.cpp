// Every key of the settings file with each of a row of strange values (out of
// range by one, too long, not a number, empty), read and written back: what
// the program makes of them, against an approved file.

#include "application/SettingsFile.h"
#include "config/IniFile.h"
#include "support/Fakes.h"
#include "support/Golden.h"

#include <sstream>

namespace folianto::test {
namespace {

// The file with the value of every key line replaced: key n gets values[(n + shift) % count].
std::string WithValues(const std::string& ini, const std::vector<std::string>& values, std::size_t shift)
{
    std::istringstream in(ini);
    std::string line, out;
    std::size_t n = 0;
    while (std::getline(in, line)) {
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (const std::size_t eq = line.find('='); eq != std::string::npos && line[0] != '[')
            line = line.substr(0, eq + 1) + values[(n++ + shift) % values.size()];
        out += line + "\r\n";
    }
    return out;
}

TEST(SettingsGolden, EveryKeyWithEachStrangeValue)
{
    IniFile defaults;
    {
        TestApp t;
        WriteSettings(t.app, defaults);
    }
    const std::vector<std::string> values = {"-2", "-1", "0", "1", "2", "7", "33", "34", "255", "256",
                                             "9999999999", "99999999999", "2147483648", " 12 ", "x", ""};
    std::string out;
    for (std::size_t shift = 0; shift < values.size(); ++shift) {
        TestApp t;
        ReadSettings(t.app, IniFile(WithValues(defaults.Serialize(), values, shift)));
        IniFile written;
        WriteSettings(t.app, written);
        out += "== shift " + std::to_string(shift) + "\r\n" + written.Serialize();
    }
    ExpectGolden("settings-strange-values.ini", Cp1252ToUtf8(out));
}

} // namespace
} // namespace folianto::test
