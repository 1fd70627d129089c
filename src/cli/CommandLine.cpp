#include "CommandLine.h"

#include <CLI/CLI.hpp>
#include <iostream>
#include <sstream>

#include "Commands.h"
#include "Version.h"
#include "common/Texts.h"

namespace kavro::cli {

Command::Command(CLI::App& program, const char* name, const char* description)
    : sub_(program.add_subcommand(name, description)) {
  // Unexpected words are collected rather than thrown, so they are named in the user's language.
  sub_->allow_extras();
}

int CliEnv::Confirm(const QString& question, bool yes) {
  if (yes) return 0;
  const StringTable& words = ctx.strings;
  if (!canAsk) return Usage(question + QLatin1Char('\n') + words.Text(txt::CliNeedYes));
  err << question << ' ' << words.Text(txt::CliConfirmPrompt) << ' ';
  err.flush();
  std::string answer;
  std::getline(std::cin, answer);
  const QString a = QString::fromLocal8Bit(answer).trimmed().toLower();
  // "y", "yes", or the word for yes in the user's language.
  const QString word = words.Text(txt::CliYes).toLower();
  if (!a.isEmpty() && (a.startsWith(QLatin1Char('y')) || word.startsWith(a))) return 0;
  return Fail(words.Text(txt::CliNotConfirmed));
}

namespace {

QString FromUtf8(const std::string& s) { return QString::fromStdString(s); }

bool EndsWith(const std::string& s, const std::string& tail) {
  return s.size() >= tail.size() && s.compare(s.size() - tail.size(), tail.size(), tail) == 0;
}

// The parser's complaint in the user's language where the string table has the words for it.
QString ParseErrorText(const CLI::ParseError& e, const StringTable& words) {
  const std::string what = e.what();
  if (dynamic_cast<const CLI::RequiredError*>(&e) != nullptr && EndsWith(what, " is required"))
    return words.Format(txt::MissingArgument, {FromUtf8(what.substr(0, what.size() - 12))});
  if (dynamic_cast<const CLI::ArgumentMismatch*>(&e) != nullptr && EndsWith(what, " missing")) {
    // "--zone: 1 required TEXT missing"
    const std::size_t colon = what.find(':');
    if (colon != std::string::npos) return words.Format(txt::MissingArgument, {FromUtf8(what.substr(0, colon))});
  }
  return FromUtf8(what);
}

// CLI11's help, with "--simulate[=SCENARIO]" written as a user types it: no flag default in
// braces, no space before an optional value.
class HelpFormatter : public CLI::Formatter {
 public:
  std::string make_option_name(const CLI::Option* opt, bool positional) const override {
    std::string name = CLI::Formatter::make_option_name(opt, positional);
    for (std::size_t open; (open = name.find('{')) != std::string::npos;) {
      const std::size_t close = name.find('}', open);
      name.erase(open, close == std::string::npos ? std::string::npos : close - open + 1);
    }
    return name;
  }
  std::string make_option_opts(const CLI::Option* opt) const override {
    const std::string& text = opt->get_option_text();
    if (text.rfind("[=", 0) == 0) return text;
    return CLI::Formatter::make_option_opts(opt);
  }
  // --help-all, from which the manual page is made: after the list of subcommands, one section
  // per subcommand ("kavro convert:") with its usage and options, without nested headings.
  std::string make_subcommands(const CLI::App* app, CLI::AppFormatMode mode) const override {
    if (mode != CLI::AppFormatMode::All) return CLI::Formatter::make_subcommands(app, mode);
    std::string out = CLI::Formatter::make_subcommands(app, CLI::AppFormatMode::Normal);
    for (const CLI::App* sub : app->get_subcommands({})) {
      const std::string name = app->get_name() + ' ' + sub->get_name();
      out += '\n' + name + ":\n  " + sub->get_description() + "\n\n  " + make_usage(sub, name) + '\n';
      for (const CLI::Option* opt : sub->get_options()) {
        if (opt != sub->get_help_ptr()) out += make_option(opt, !opt->nonpositional());
      }
    }
    return out;
  }
};

// The subcommand the first word names, or null when it names none.
const CLI::App* NamedSubcommand(const CLI::App& program, const std::string& word) {
  for (const CLI::App* sub : program.get_subcommands({}))
    if (sub->check_name(word)) return sub;
  return nullptr;
}

}  // namespace

int RunCommandLine(CliEnv& env, int argc, char** argv) {
  CLI::App program("kavro: the T-580 GPS track logger from the command line", "kavro");
  program.set_version_flag("--version", std::string("kavro ") + kVersionText, "Print the program version and exit");
  program.formatter(std::make_shared<HelpFormatter>());
  program.require_subcommand(1);
  program.allow_extras();
  program.footer("Exit status: 0 success, 1 failure, 2 usage error.");
  // A repeated option takes its last value, so a script can override one it set earlier.
  program.option_defaults()->multi_option_policy(CLI::MultiOptionPolicy::TakeLast);

  std::vector<std::unique_ptr<Command>> commands;
#define KAVRO_ADD_COMMAND(Name) commands.push_back(Add##Name(program));
  KAVRO_CLI_COMMANDS(KAVRO_ADD_COMMAND)
#undef KAVRO_ADD_COMMAND
  // Added after the subcommands so that only the program has it (the manual page is made from it).
  program.set_help_all_flag("--help-all", "Print the help of every subcommand and exit");

  const StringTable& words = env.ctx.strings;
  auto usage = [&](const QString& message, const CLI::App& about) {
    const std::string name = &about == &program ? about.get_name() : program.get_name() + ' ' + about.get_name();
    env.err << message << '\n' << words.Format(txt::CliSeeHelp, {FromUtf8(name)}) << '\n';
    env.err.flush();
    return 2;
  };

  if (argc > 1 && argv[1][0] != '-' && NamedSubcommand(program, argv[1]) == nullptr)
    return usage(words.Format(txt::CliUnknownCommand, {QString::fromLocal8Bit(argv[1])}), program);
  try {
    program.parse(argc, argv);
  } catch (const CLI::Success& e) {  // --help, --help-all, --version
    return program.exit(e, std::cout, std::cerr);
  } catch (const CLI::ParseError& e) {
    if (argc <= 1) {
      std::cerr << program.help();
      return 2;
    }
    const CLI::App* about = program.get_subcommands().empty() ? &program : program.get_subcommands().front();
    return usage(ParseErrorText(e, words), *about);
  }

  if (const std::vector<std::string> extras = program.remaining(); !extras.empty())
    return usage(words.Format(txt::UnknownOption, {FromUtf8(extras.front())}), program);
  for (const auto& command : commands) {
    if (!command->Sub().parsed()) continue;
    const std::vector<std::string> extras = command->Sub().remaining();
    if (!extras.empty()) return usage(words.Format(txt::UnknownOption, {FromUtf8(extras.front())}), command->Sub());
    const int status = command->Run(env);
    env.out.flush();
    env.err.flush();
    return status;
  }
  return 2;
}

}  // namespace kavro::cli
