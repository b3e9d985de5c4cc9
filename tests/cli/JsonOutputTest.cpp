// What scripts read from vorlane-cli: JSON lines that a real parser takes back to the exact
// bytes of every name, a summary that tells the exit status, the human report out of the
// way, and failures on standard error in every mode.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <cstdlib>
#include <filesystem>

#include "cli/CliTest.h"

namespace vorlane::testing {
namespace {

namespace fs = std::filesystem;

// Each line of standard output through Python's json module: "result<TAB>path as hex",
// the path taken from path_bytes when there is one; the summary as "summary<TAB>status".
// A line that is not JSON ends the script with an error.
constexpr const char* kReader = R"(
import base64, json, sys
for line in open(sys.argv[1], encoding="utf-8"):
    r = json.loads(line)
    if r.get("summary"):
        print("summary\t%d\t%d" % (r["exit_status"], r.get("failed", -1)))
        continue
    raw = base64.b64decode(r["path_bytes"]) if "path_bytes" in r else r["path"].encode()
    print("%s\t%s\t%s" % (r["result"], raw.hex(), r["errno"]))
)";

std::string Hex(const std::string& bytes) {
    std::string out;
    for (const unsigned char c : bytes) {
        const char* digits = "0123456789abcdef";
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

class JsonOutputTest : public CliTest {
  protected:
    // The lines of the reader, or "not JSON" when Python refused the output.
    std::string Parsed(const std::string& out) {
        const TempFolder work;
        const std::string json = work.Write("out.json", out);
        const std::string script = work.Write("read.py", kReader);
        const CliRun read = RunCli("", "python3 '" + script + "' '" + json + "' #");
        return read.status == 0 ? read.out : "not JSON: " + read.err;
    }
};

TEST_F(JsonOutputTest, FolderPurgeGivesExactNamesAFailureAndTheStatus) {
    if (std::system("python3 -c 'import json' 2>/dev/null") != 0) {
        GTEST_SKIP() << "no python3";
    }
    const std::string odd = "odd \"q\" \\back\nline\t\x01";
    const std::string invalid = "bad\xff\xfe.txt";
    folder.Write(odd, "x");
    folder.Write(invalid, "y");
    ASSERT_EQ(::mkfifo(folder.File("pipe").c_str(), 0600), 0);
    const CliRun run = RunCli("purge --folder " + Quoted() + " --passes 1 --yes --json");

    EXPECT_EQ(run.status, 1);
    const std::string prefix = Hex(folder.Path() + "/");
    EXPECT_EQ(Parsed(run.out), "purged\t" + prefix + Hex(invalid) + "\tNone\n" + "purged\t" +
                                   prefix + Hex(odd) + "\tNone\n" + "not-regular-file\t" + prefix +
                                   Hex("pipe") + "\tNone\n" + "summary\t1\t1\n");
    // The report goes to standard error, with the failure named the way rm names one.
    EXPECT_NE(run.err.find("Number of files purged: 2"), std::string::npos) << run.err;
    EXPECT_NE(run.err.find("vorlane-cli: '" + folder.File("pipe") + "': not a regular file\n"),
              std::string::npos)
        << run.err;
}

TEST_F(JsonOutputTest, NamedFilesAndListingsGiveRecordsToo) {
    if (std::system("python3 -c 'import json' 2>/dev/null") != 0) {
        GTEST_SKIP() << "no python3";
    }
    const std::string file = folder.Write("a.txt", "alpha");
    const CliRun listed = RunCli("list --folder " + Quoted() + " --json");
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(Parsed(listed.out), "listed\t" + Hex(file) + "\tNone\nsummary\t0\t-1\n");
    EXPECT_NE(listed.err.find("Number of files"), std::string::npos);

    // A name that leads nowhere is a failure with the system's number.
    const CliRun purged =
        RunCli("purge --json --passes 1 '" + file + "' '" + folder.File("gone") + "'");
    EXPECT_EQ(purged.status, 1);
    EXPECT_EQ(Parsed(purged.out), "purged\t" + Hex(file) + "\tNone\ncannot-open\t" +
                                      Hex(folder.File("gone")) + "\t2\nsummary\t1\t1\n");
}

TEST_F(JsonOutputTest, QuietAndVerboseAsRmHasThem) {
    ASSERT_EQ(::mkfifo(folder.File("pipe").c_str(), 0600), 0);
    folder.Write("a.txt", "alpha");
    const std::string pipeFailure =
        "vorlane-cli: '" + folder.File("pipe") + "': not a regular file\n";

    const CliRun quiet = RunCli("purge -q --folder " + Quoted() + " --passes 1 --yes");
    EXPECT_EQ(quiet.status, 1);
    EXPECT_EQ(quiet.out, "");
    EXPECT_NE(quiet.err.find(pipeFailure), std::string::npos) << quiet.err;
    EXPECT_NE(quiet.err.find("vorlane-cli: 1 of 2 files not purged\n"), std::string::npos);
    EXPECT_FALSE(fs::exists(folder.File("a.txt")));

    folder.Write("a.txt", "alpha");
    const CliRun verbose = RunCli("purge -v -q --folder " + Quoted() + " --passes 1 --yes");
    EXPECT_EQ(verbose.out, "purged '" + folder.File("a.txt") + "'\nnot purged '" +
                               folder.File("pipe") + "': not a regular file\n");
    EXPECT_NE(verbose.err.find(pipeFailure), std::string::npos);

    // Named files have a report line each already: -v does not repeat it.
    folder.Write("a.txt", "alpha");
    const CliRun named = RunCli("purge -v --passes 1 '" + folder.File("a.txt") + "'");
    EXPECT_EQ(named.out, folder.File("a.txt") + ": purged\n");

    const CliRun both = RunCli("purge -v --json --folder " + Quoted() + " --yes");
    EXPECT_EQ(both.status, 2);
    EXPECT_EQ(both.out, "");
}

}  // namespace
}  // namespace vorlane::testing
