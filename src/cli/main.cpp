// folianto-cli: the command-line companion for scripting and batch work.

#include "cli/CliSettings.h"
#include "cli/Command.h"

#include <iostream>

namespace folianto::cli {

namespace {
std::map<std::string, Command>& Registry()
{
    static std::map<std::string, Command> registry;
    return registry;
}

void PrintUsage(std::ostream& out)
{
    out << "Aufruf: folianto-cli BEFEHL [ARGUMENTE] [--answers LISTE] [--ini PFAD]\n\nBefehle:\n";
    for (const auto& [name, command] : Registry())
        out << "  folianto-cli " << command.usage << '\n';
    out << "\n--answers: Antworten auf Rückfragen, durch Komma getrennt "
           "(yes, no, abort, ok, cancel, retry, ignore)\n";
}

// Splits argv into positional arguments and options; false on a malformed line.
bool Parse(const Command& command, int argc, char** argv, Args& args)
{
    for (int i = 2; i < argc; ++i) {
        const std::string a = argv[i];
        if (a.rfind("--", 0) == 0) {
            const std::string name = a.substr(2);
            bool isFlag = false;
            for (const auto& f : command.flags)
                isFlag = isFlag || f == name;
            if (isFlag) {
                args.options[name] = "";
            } else {
                if (i + 1 >= argc)
                    return false;
                args.options[name] = argv[++i];
            }
        } else {
            args.positional.push_back(a);
        }
    }
    const int n = static_cast<int>(args.positional.size());
    return n >= command.minArgs && n <= command.maxArgs;
}
} // namespace

bool RegisterCommand(Command command)
{
    const std::string name = command.name;
    Registry().emplace(name, std::move(command));
    return true;
}

const std::map<std::string, Command>& Commands()
{
    return Registry();
}

} // namespace folianto::cli

int main(int argc, char** argv)
{
    using namespace folianto::cli;
    if (argc < 2 || std::string(argv[1]) == "help" || std::string(argv[1]) == "--help") {
        PrintUsage(argc < 2 ? std::cerr : std::cout);
        return argc < 2 ? ExitUsage : ExitOk;
    }
    const auto it = Commands().find(argv[1]);
    Args args;
    if (it == Commands().end() || !Parse(it->second, argc, argv, args)) {
        PrintUsage(std::cerr);
        return ExitUsage;
    }
    Context context;
    if (args.has("answers") && !context.ui.setAnswers(args.value("answers"))) {
        std::cerr << "Unbekannte Antwort in --answers: " << args.value("answers") << '\n';
        return ExitUsage;
    }
    if (!ApplyIniOption(context, args))
        return ExitFailed;
    const int code = it->second.run(context, args);
    // A damaged database was told on stderr; a script learns it from the status.
    return code == ExitOk && context.app.LoadReportedDamage ? ExitFailed : code;
}
