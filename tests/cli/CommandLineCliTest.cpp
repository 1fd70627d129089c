// What every subcommand of kavro shares: --help, --version, both option spellings, one zone
// option, usage errors, info --json, the manual page, the bash completion and the install rules.
#include <gtest/gtest.h>

#include "support/KavroRun.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <unistd.h>

#include "Version.h"
#include "track/TrackRecord.h"

namespace kavro {
namespace {

namespace fs = std::filesystem;
using test::Has;
using test::Kavro;

std::string Q(const fs::path& p) { return "'" + p.string() + "'"; }

std::string ReadText(const fs::path& p) {
  std::ifstream f(p, std::ios::binary);
  std::stringstream s;
  s << f.rdbuf();
  return s.str();
}

// Runs a shell command and returns its standard output.
std::string Shell(const std::string& command, int* status = nullptr) {
  std::string out;
  std::FILE* p = ::popen(command.c_str(), "r");
  if (p == nullptr) return out;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, p)) > 0) out.append(buf, n);
  const int raw = ::pclose(p);
  if (status) *status = WIFEXITED(raw) ? WEXITSTATUS(raw) : -1;
  return out;
}

class CommandLineCli : public ::testing::Test {
 protected:
  void SetUp() override {
    dir_ = fs::temp_directory_path() / ("kavro-cmdline-" + std::to_string(::getpid()));
    fs::remove_all(dir_);
    fs::create_directories(dir_);
  }
  void TearDown() override { fs::remove_all(dir_); }
  void WriteTrl(const fs::path& path) {
    const TrackRecord r = TrackRecord::Make(1205544612, 25.0330009f, 121.5654297f, 12.5f);
    std::ofstream(path, std::ios::binary).write(reinterpret_cast<const char*>(r.bytes.data()), 16);
  }
  fs::path dir_;
};

TEST_F(CommandLineCli, EverySubcommandHasHelpNamingItsOptions) {
  const std::map<std::string, std::vector<std::string>> options = {
      {"ports", {"--simulate"}},
      {"info", {"--port", "--simulate", "--json"}},
      {"set-name", {"NAME", "--port", "--simulate"}},
      {"settings", {"--seconds", "--distance", "--mode", "--basis", "--port", "--simulate"}},
      {"clear", {"--port", "--simulate", "--yes"}},
      {"convert", {"TRACK.trl", "--text", "--kml", "--nmea", "--gpx", "--gpx-track", "TRACK_track.gpx", "--zone"}},
      {"tracks", {"MEMORY.bin", "--dir", "--total", "--user", "--zone", "--kml"}},
      {"geotag", {"TRACK.trl", "PHOTO_DIR", "--kml", "--zone", "--calibrate", "--write-gps", "--ignore-photo-zone"}},
      {"zones", {"TEXT"}},
  };
  const test::CliRun top = Kavro("--help");
  ASSERT_EQ(top.status, 0) << top.err;
  for (const auto& [name, names] : options) {
    EXPECT_TRUE(Has(top.out, "\n  " + name + " ")) << name;
    const test::CliRun help = Kavro(name + " --help");
    ASSERT_EQ(help.status, 0) << name << help.err;
    EXPECT_EQ(help.err, "");
    EXPECT_TRUE(Has(help.out, "Usage: kavro " + name + " ")) << help.out;
    for (const std::string& o : names) EXPECT_TRUE(Has(help.out, o)) << name << " lacks " << o << ":\n" << help.out;
    EXPECT_EQ(Kavro(name + " -h").out, help.out);
  }
  EXPECT_FALSE(Has(Kavro("ports --help").out, "--port"));
}

TEST_F(CommandLineCli, VersionIsTheProjectVersion) {
  const test::CliRun v = Kavro("--version");
  EXPECT_EQ(v.status, 0);
  EXPECT_EQ(v.out, std::string("kavro ") + kVersionText + "\n");
}

TEST_F(CommandLineCli, BothOptionSpellingsGiveTheSameFiles) {
  WriteTrl(dir_ / "a.trl");
  ASSERT_EQ(Kavro("convert " + Q(dir_ / "a.trl") + " --text --zone +08:00").status, 0);
  const std::string spaced = ReadText(dir_ / "a.txt");
  fs::remove(dir_ / "a.txt");
  ASSERT_EQ(Kavro("convert --zone=+08:00 --text " + Q(dir_ / "a.trl")).status, 0);
  EXPECT_EQ(ReadText(dir_ / "a.txt"), spaced);
  EXPECT_TRUE(Has(spaced, "Sat Mar 15 09:30:12 2008")) << spaced;
  // A negative zone is a value, not an option.
  ASSERT_EQ(Kavro("convert " + Q(dir_ / "a.trl") + " --text --zone -03:30").status, 0);
  EXPECT_TRUE(Has(ReadText(dir_ / "a.txt"), "Fri Mar 14 22:00:12 2008"));

  // tracks once refused --dir=DIR.
  const std::string dump = std::string(KAVRO_SIM) + " --dump " + Q(dir_ / "demo.bin") + " >/dev/null 2>&1";
  ASSERT_EQ(std::system(dump.c_str()), 0);
  fs::create_directory(dir_ / "x");
  fs::create_directory(dir_ / "y");
  const test::CliRun eq = Kavro("tracks " + Q(dir_ / "demo.bin") + " --dir=" + Q(dir_ / "x") + " --user=Logger1 --zone=+08:00");
  ASSERT_EQ(eq.status, 0) << eq.err;
  const test::CliRun sp = Kavro("tracks " + Q(dir_ / "demo.bin") + " --dir " + Q(dir_ / "y") + " --user Logger1 --zone +08:00");
  ASSERT_EQ(sp.status, 0) << sp.err;
  std::vector<std::string> xs, ys;
  for (const auto& e : fs::directory_iterator(dir_ / "x")) xs.push_back(e.path().filename().string());
  for (const auto& e : fs::directory_iterator(dir_ / "y")) ys.push_back(e.path().filename().string());
  std::sort(xs.begin(), xs.end());
  std::sort(ys.begin(), ys.end());
  ASSERT_FALSE(xs.empty());
  EXPECT_EQ(xs, ys);
  for (const std::string& f : xs) EXPECT_EQ(ReadText(dir_ / "x" / f), ReadText(dir_ / "y" / f)) << f;
}

TEST_F(CommandLineCli, AnUnknownZoneIsOneUsageErrorForEveryCommand) {
  WriteTrl(dir_ / "a.trl");
  fs::create_directory(dir_ / "photos");
  const std::string message =
      "Unknown time zone \"+14:30\". Use a label of the table, for example +08:00, -03:30 or 00:00.\n";
  for (const std::string& args :
       {"convert " + Q(dir_ / "a.trl") + " --zone +14:30", "tracks " + Q(dir_ / "a.trl") + " --dir " + Q(dir_) + " --zone=+14:30",
        "geotag " + Q(dir_ / "a.trl") + " " + Q(dir_ / "photos") + " --kml " + Q(dir_ / "p.kml") + " --zone +14:30"}) {
    const test::CliRun r = Kavro(args);
    EXPECT_EQ(r.status, 2) << args;
    EXPECT_EQ(r.err, message) << args;
    EXPECT_EQ(r.out, "");
  }
  EXPECT_FALSE(fs::exists(dir_ / "a.kml"));
  EXPECT_FALSE(fs::exists(dir_ / "p.kml"));
}

TEST_F(CommandLineCli, UsageErrorsNameTheWordAndPointToHelp) {
  test::CliRun r = Kavro("info --simulate --verbose");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "Unknown option: --verbose\nRun \"kavro info --help\" to see the options.\n");
  r = Kavro("convert --zone");
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(Has(r.err, "Missing argument: --zone\n")) << r.err;
  r = Kavro("tracks image.bin");
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(Has(r.err, "Missing argument: --dir\n")) << r.err;
  r = Kavro("frobnicate");
  EXPECT_EQ(r.status, 2);
  EXPECT_EQ(r.err, "Unknown command: frobnicate\nRun \"kavro --help\" to see the options.\n");
  r = Kavro("");
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(Has(r.err, "Usage: kavro")) << r.err;
  EXPECT_EQ(r.out, "");
  // In the user's language.
  r = Kavro("info --simulate --verbose", "LC_ALL=de_DE.UTF-8 LANG=de_DE.UTF-8");
  EXPECT_EQ(r.status, 2);
  EXPECT_TRUE(Has(r.err, "Unbekannte Option: --verbose")) << r.err;
}

TEST_F(CommandLineCli, InfoJsonHoldsTheSameValuesAsTheText) {
  int status = -1;
  const std::string json = Shell(std::string(KAVRO_CLI) + " info --simulate=other --json 2>/dev/null", &status);
  ASSERT_EQ(status, 0);
  // Read back by Python's json module, one key per line.
  const fs::path file = dir_ / "info.json";
  std::ofstream(file) << json;
  const std::string keys = Shell(
      "python3 -c 'import json,sys; d=json.load(open(sys.argv[1])); "
      "[print(k, json.dumps(d[k])) for k in sorted(d)]' " + Q(file), &status);
  ASSERT_EQ(status, 0) << json;
  const test::CliRun text = Kavro("info --simulate=other");
  ASSERT_EQ(text.status, 0);
  auto value = [&](const std::string& label) {
    const std::size_t at = text.out.find(label + ": ");
    return at == std::string::npos ? std::string("?")
                                   : text.out.substr(at + label.size() + 2, text.out.find('\n', at) - at - label.size() - 2);
  };
  EXPECT_TRUE(Has(keys, "model \"T-580\"\n")) << keys;
  EXPECT_TRUE(Has(keys, "userName \"" + value("User Name") + "\"\n")) << keys;
  EXPECT_TRUE(Has(keys, "version \"" + value("[FW] [HW] Version") + "\"\n")) << keys;
  EXPECT_TRUE(Has(keys, "timeZone \"" + value("Time zone") + "\"\n")) << keys;
  EXPECT_TRUE(Has(keys, "freeRecords " + value("Memory Usage").substr(0, value("Memory Usage").find(' ')) + "\n")) << keys;
  const std::string interval = value("Time interval");
  EXPECT_TRUE(Has(keys, "timeIntervalTenthsOfSecond " + interval.substr(0, interval.find(' ')) + "\n")) << keys;
  const std::string position = value("Write position");
  EXPECT_TRUE(Has(keys, "writePosition " + position.substr(position.find('(') + 1, position.find(')') - position.find('(') - 1) + "\n"))
      << keys;
  for (const char* key : {"distanceIntervalTenthsOfMetre ", "distanceUnit ", "memoryWrapped false", "recordMode ",
                          "recordingBasis "})
    EXPECT_TRUE(Has(keys, key)) << key << keys;
}

TEST_F(CommandLineCli, BashCompletionOffersSubcommandsAndTheirOptions) {
  const fs::path script = fs::path(KAVRO_SOURCE_DIR) / "src/cli/kavro.bash";
  auto complete = [&](const std::string& words, int current) {
    return Shell("bash -c 'source " + script.string() + "; COMP_WORDS=(" + words + "); COMP_CWORD=" +
                 std::to_string(current) + "; _kavro; printf \"%s\\n\" \"${COMPREPLY[@]}\"'");
  };
  const std::string kavro = KAVRO_CLI;
  EXPECT_EQ(complete(kavro + " con", 1), "convert\n");
  const std::string options = complete(kavro + " tracks x.bin --", 3);
  for (const char* o : {"--dir\n", "--total\n", "--user\n", "--zone\n", "--kml\n", "--help\n"})
    EXPECT_TRUE(Has(options, o)) << o << options;
  EXPECT_EQ(complete(kavro + " settings --mode o", 3), "overwrite\n");
  EXPECT_TRUE(Has(complete(kavro + " info --sim", 2), "--simulate\n"));
  // --zone offers the zone names kavro zones lists.
  EXPECT_EQ(complete(kavro + " convert x.trl --zone Europe/Berl", 4), "Europe/Berlin\n");
}

TEST_F(CommandLineCli, InstallPutsTheProgramManualAndCompletionInPlace) {
  int status = -1;
  const std::string log =
      Shell("cmake --install " + Q(KAVRO_BINARY_DIR) + " --prefix " + Q(dir_ / "usr") + " 2>&1", &status);
  ASSERT_EQ(status, 0) << log;
  EXPECT_TRUE(fs::exists(dir_ / "usr/bin/kavro"));
  EXPECT_TRUE(fs::exists(dir_ / "usr/share/bash-completion/completions/kavro"));
#ifdef KAVRO_MAN_PAGE
  // Shipped compressed, as Debian expects.
  const std::string man = Shell("gzip -dc " + Q(dir_ / "usr/share/man/man1/kavro.1.gz"), &status);
  EXPECT_EQ(status, 0);
  EXPECT_TRUE(Has(man, ".TH KAVRO \"1\"")) << man.substr(0, 200);
  for (const char* part : {"convert", "\\-\\-zone", "\\-\\-version", "KAVRO_TRACE"}) EXPECT_TRUE(Has(man, part)) << part;
#endif
}

}  // namespace
}  // namespace kavro
