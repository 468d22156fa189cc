// The high-score file: what the reader accepts, how bests are merged and
// written, that a save failing at any step leaves the old file intact, that
// links, permissions and files planted beside it are respected, and that what
// lies at the save's name cannot make it hang or write elsewhere.
#include "test_support.h"

#include "save/high_score.h"
#include "save/save_file_ops.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <iterator>

#include <fcntl.h>
#include <grp.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char* const kSave = "kolvex.sav";

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

std::vector<unsigned char> bytesOf(const std::string& text) {
    return std::vector<unsigned char>(text.begin(), text.end());
}

struct Bests {
    std::uint32_t score;
    std::uint16_t lines;
    std::uint16_t level;
};

const Bests kDefaults = {0, 0, 0};

// Far past any bound a reader may set for a file of a few dozen bytes.
const std::size_t kHugeBytes = 3u << 20;

namespace fs = std::filesystem;

bool saveQuietly(std::uint32_t score, std::uint16_t lines, std::uint16_t level) {
    testing::internal::CaptureStdout();
    const bool saved = saveHighScore(score, lines, level);
    testing::internal::GetCapturedStdout();
    return saved;
}

fs::perms permsOf(const std::string& path) {
    return fs::status(path).permissions() & fs::perms::mask;
}

class HighScoreTest : public KolvexTest {
protected:
    TempWorkingDir dir;
};

TEST_F(HighScoreTest, ReaderAcceptsTolerantLayoutsAndFallsBackOnAnythingMalformed) {
    struct Case {
        const char* name;
        std::string bytes;
        Bests expected;
    };
    const std::vector<Case> cases = {
        {"as written", "SAV\n1\n100\n10\n2\n", {100, 10, 2}},
        {"CR LF endings", "SAV\r\n1\r\n100\r\n10\r\n2\r\n", {100, 10, 2}},
        {"blank lines around", "\n\r\nSAV\n\n1\n\r\n100\n10\n\n2\n\n\n", {100, 10, 2}},
        {"no final line feed", "SAV\n1\n100\n10\n2", {100, 10, 2}},
        {"version 7", "SAV\n7\n100\n10\n2\n", {100, 10, 2}},
        {"16-bit fields keep low bits", "SAV\n1\n70000\n65548\n65539\n", {70000, 12, 3}},
        {"largest score", "SAV\n1\n4294967295\n0\n0\n", {4294967295u, 0, 0}},
        {"digits then text", "SAV\n1\n100abc\n10 rows\n2.5\n", {100, 10, 2}},
        {"space, tab and plus", "SAV\n1\n \t+100\n  10\n+2\n", {100, 10, 2}},
        {"minus wraps", "SAV\n1\n-1\n-1\n-2\n", {4294967295u, 65535, 65534}},
        {"leading zeros", "SAV\n1\n00000000000000000000042\n010\n02\n", {42, 10, 2}},
        {"extra lines ignored", "SAV\n1\n100\n10\n2\nxyz\n99\n", {100, 10, 2}},
        {"only a CR left of a line", "SAV\n\r\n1\n100\n10\n2\n", {100, 10, 2}},
        {"empty file", "", kDefaults},
        {"exactly four lines", "SAV\n1\n100\n10\n", kDefaults},
        {"four lines and blanks", "SAV\n\n1\n\n100\n\n10\n\n", kDefaults},
        {"byte-order mark", "\xEF\xBB\xBFSAV\n1\n100\n10\n2\n", kDefaults},
        {"leading space", " SAV\n1\n100\n10\n2\n", kDefaults},
        {"trailing space", "SAV \n1\n100\n10\n2\n", kDefaults},
        {"lower case", "sav\n1\n100\n10\n2\n", kDefaults},
        {"two CRs", "SAV\r\r\n1\n100\n10\n2\n", kDefaults},
        {"no digit in score", "SAV\n1\nabc\n10\n2\n", kDefaults},
        {"only a sign", "SAV\n1\n100\n-\n2\n", kDefaults},
        {"only spaces", "SAV\n1\n100\n10\n   \n", kDefaults},
        {"sign then space", "SAV\n1\n+ 100\n10\n2\n", kDefaults},
        {"score of 2^32", "SAV\n1\n4294967296\n10\n2\n", kDefaults},
        {"lines of 2^32", "SAV\n1\n100\n4294967296\n2\n", kDefaults},
        {"negative 2^32", "SAV\n1\n100\n10\n-4294967296\n", kDefaults},
        {"far too long", "SAV\n1\n99999999999999999999999\n10\n2\n", kDefaults},
        {"huge file, good start",
         "SAV\n1\n100\n10\n2\n" + std::string(kHugeBytes, 'x'),
         {100, 10, 2}},
        {"huge first line", std::string(kHugeBytes, 'S') + "\nSAV\n1\n100\n10\n2\n", kDefaults},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        const HighScoreRecord parsed = parseHighScore(bytesOf(c.bytes));
        EXPECT_EQ(parsed.bestScore, c.expected.score);
        EXPECT_EQ(parsed.bestLines, c.expected.lines);
        EXPECT_EQ(parsed.bestLevel, c.expected.level);
        EXPECT_EQ(parsed.magic, "SAV");
        EXPECT_EQ(parsed.version, 1);

        writeFile(kSave, c.bytes);
        EXPECT_LT(readFilePrefix(kSave).size(), kHugeBytes) << "read only a bounded start";
        const HighScoreRecord loaded = loadHighScore();
        EXPECT_EQ(loaded.bestScore, c.expected.score);
        EXPECT_EQ(loaded.bestLines, c.expected.lines);
        EXPECT_EQ(loaded.bestLevel, c.expected.level);
    }
}

// A save swapped for a FIFO after it was found to be a regular file.
StepResult swapForFifoThenOpen(const SaveTarget& target, FileHandle& file) {
    fs::remove(kSave);
    mkfifo(kSave, 0644);
    return kRealSaveFileOps.openForReading(target, file);
}

TEST_F(HighScoreTest, MissingUnreadableOrSpecialFileLoadsAsDefaultsAndIsNeverWritten) {
    const HighScoreRecord none = loadHighScore();
    EXPECT_EQ(none.bestScore, 0u);
    EXPECT_EQ(none.bestLines, 0);
    EXPECT_EQ(none.bestLevel, 0);
    EXPECT_TRUE(readFilePrefix(kSave).empty());

    fs::create_directory(kSave);
    EXPECT_TRUE(readFilePrefix(kSave).empty());
    EXPECT_EQ(loadHighScore().bestScore, 0u);
    fs::remove(kSave);

    // A FIFO opened the plain way would wait for a writer forever.
    ASSERT_EQ(mkfifo(kSave, 0644), 0);
    EXPECT_TRUE(readFilePrefix(kSave).empty());
    EXPECT_FALSE(saveQuietly(1, 1, 1));
    EXPECT_TRUE(fs::is_fifo(kSave));
    fs::remove(kSave);
    fs::create_symlink("/dev/zero", kSave);
    EXPECT_TRUE(readFilePrefix(kSave).empty());
    EXPECT_FALSE(saveQuietly(1, 1, 1));
    EXPECT_EQ(dir.entries(), std::vector<std::string>{kSave});

    fs::remove(kSave);
    writeFile(kSave, "SAV\n1\n5\n5\n5\n");
    saveFileOps.openForReading = swapForFifoThenOpen;
    EXPECT_EQ(loadHighScore().bestScore, 0u);
    EXPECT_TRUE(fs::is_fifo(kSave));
}

TEST_F(HighScoreTest, ReadFilePrefixKeepsEveryByteOfASmallFile) {
    const std::string bytes("SAV\r\n1\r\n\0\xFF\n", 12);
    writeFile(kSave, bytes);
    EXPECT_EQ(readFilePrefix(kSave), bytesOf(bytes));
}

TEST_F(HighScoreTest, FirstSaveWritesTheSixteenByteFileAndTracesEachPair) {
    testing::internal::CaptureStdout();
    EXPECT_TRUE(saveHighScore(1200, 12, 2));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "1200 | 0\n12 | 0\n2 | 0\n");
    EXPECT_EQ(readFile(kSave), "SAV\n1\n1200\n12\n2\n");
    EXPECT_EQ(readFile(kSave).size(), 16u);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{kSave});
}

TEST_F(HighScoreTest, EachBestIsMergedOnItsOwnAndTheFileAlwaysRewritten) {
    writeFile(kSave, "SAV\r\n1\r\n100\r\n10\r\n2\r\nextra\n");

    testing::internal::CaptureStdout();
    EXPECT_TRUE(saveHighScore(50, 3, 1));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "50 | 100\n3 | 10\n1 | 2\n");
    EXPECT_EQ(readFile(kSave), "SAV\n1\n100\n10\n2\n") << "normalised, extra line lost";

    testing::internal::CaptureStdout();
    EXPECT_TRUE(saveHighScore(150, 5, 3));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "150 | 100\n5 | 10\n3 | 2\n");
    EXPECT_EQ(readFile(kSave), "SAV\n1\n150\n10\n3\n");

    testing::internal::CaptureStdout();
    EXPECT_TRUE(saveHighScore(4294967295u, 65535, 65535));
    testing::internal::GetCapturedStdout();
    EXPECT_EQ(readFile(kSave), "SAV\n1\n4294967295\n65535\n65535\n");
}

TEST_F(HighScoreTest, MalformedFileIsReplacedAndNothingPlantedBesideItCatchesTheSave) {
    writeFile("victim", "somebody else's file\n");
    writeFile(kSave, "\xEF\xBB\xBFSAV\n1\n9999\n99\n9\n");
    testing::internal::CaptureStdout();
    EXPECT_TRUE(saveHighScore(7, 1, 1));
    EXPECT_EQ(testing::internal::GetCapturedStdout(), "7 | 0\n1 | 0\n1 | 0\n");
    EXPECT_EQ(readFile(kSave), "SAV\n1\n7\n1\n1\n");

    // The first temporary name this process uses, planted as what a save
    // never removes (a file left there is a leftover: see below).
    const std::string planted = std::string(kSave) + "." + std::to_string(getpid()) + "-0.tmp";
    using Plant = void (*)(const std::string&);
    const Plant plantLink = [](const std::string& path) { fs::create_symlink("victim", path); };
    const Plant plantDirectory = [](const std::string& path) { fs::create_directory(path); };
    for (const auto& plant : {plantLink, plantDirectory}) {
        fs::remove_all(planted);
        plant(planted);
        EXPECT_TRUE(saveQuietly(8, 2, 2));
        EXPECT_EQ(readFile(kSave), "SAV\n1\n8\n2\n2\n");
        EXPECT_EQ(readFile("victim"), "somebody else's file\n");
        EXPECT_EQ(dir.entries(), (std::vector<std::string>{kSave, planted, "victim"}));
    }
}

TEST_F(HighScoreTest, ASaveRemovesThePlayersLeftoverTemporariesAndNothingElse) {
    writeFile(kSave, "SAV\n1\n100\n10\n2\n");
    const std::string ours = std::string(kSave) + "." + std::to_string(getpid()) + "-0.tmp";
    const std::string killed = std::string(kSave) + ".4242-17.tmp";
    for (const std::string& leftover : {ours, killed}) {
        writeFile(leftover, "SAV\n1\n9\n");
    }
    const std::vector<std::string> kept = {
        std::string(kSave) + ".ours",
        std::string(kSave) + ".12-x.tmp",
        std::string(kSave) + ".12-3.tmp~",
        std::string(kSave) + ".-3.tmp",
        "other.sav.12-3.tmp",
    };
    for (const std::string& name : kept) {
        writeFile(name, "not a leftover\n");
    }
    std::vector<std::string> expected = kept;
    const std::string folder = std::string(kSave) + ".5-5.tmp";
    fs::create_directory(folder);
    expected.push_back(folder);
    const std::string othersFile = std::string(kSave) + ".6-6.tmp";
    if (geteuid() == 0) {
        writeFile(othersFile, "another player's\n");
        ASSERT_EQ(chown(othersFile.c_str(), 65534, 65534), 0);
        expected.push_back(othersFile);
    }
    expected.push_back(kSave);
    std::sort(expected.begin(), expected.end());

    EXPECT_TRUE(saveQuietly(50, 3, 1));
    EXPECT_EQ(readFile(kSave), "SAV\n1\n100\n10\n2\n");
    EXPECT_EQ(dir.entries(), expected);
}

// Swaps the folder the save's link leads through for a link elsewhere, once
// the save is under way.
StepResult swapFolderThenCreate(const SaveTarget& target, const std::string& name,
                                FileHandle& file) {
    fs::rename("evil/d", "evil/d.real");
    fs::create_symlink("../home", "evil/d");
    saveFileOps.createTemp = kRealSaveFileOps.createTemp;
    return kRealSaveFileOps.createTemp(target, name, file);
}

TEST_F(HighScoreTest, ASaveIsReplacedThroughALinkOnlyWhenItIsOneAndTheLinkTrusted) {
    fs::create_directory("synced");
    fs::create_symlink("synced/kolvex.sav", kSave);
    EXPECT_FALSE(saveQuietly(100, 10, 2)) << "a dangling link creates nothing";
    EXPECT_TRUE(fs::is_empty("synced"));

    writeFile("synced/kolvex.sav", "SAV\n1\n100\n10\n2\n");
    EXPECT_TRUE(saveQuietly(50, 12, 1));
    EXPECT_TRUE(fs::is_symlink(kSave));
    EXPECT_EQ(readFile("synced/kolvex.sav"), "SAV\n1\n100\n12\n2\n");
    EXPECT_TRUE(fs::is_regular_file(fs::symlink_status("synced/kolvex.sav")));
    EXPECT_EQ(std::distance(fs::directory_iterator("synced"), fs::directory_iterator{}), 1)
        << "no temporary file left beside the target";

    // A link made by another user, as one planted in a shared folder is.
    ASSERT_EQ(lchown(kSave, 65534, 65534), 0);
    EXPECT_FALSE(saveQuietly(900, 90, 9));
    EXPECT_TRUE(readFilePrefix(kSave).empty());
    EXPECT_EQ(readFile("synced/kolvex.sav"), "SAV\n1\n100\n12\n2\n");

    // A link to a file that is not a save, or a loop, is never written through.
    const std::string notOurs = "# system settings\nkeep=me\n";
    writeFile("settings.conf", notOurs);
    fs::remove(kSave);
    fs::create_symlink("settings.conf", kSave);
    EXPECT_FALSE(saveQuietly(1, 1, 1));
    EXPECT_EQ(readFile("settings.conf"), notOurs);
    fs::remove(kSave);
    fs::create_symlink(kSave, kSave);
    EXPECT_FALSE(saveQuietly(1, 1, 1));
    EXPECT_EQ(dir.entries(), (std::vector<std::string>{kSave, "settings.conf", "synced"}));

    // The folder on the link's way is swapped for a link once the save has begun:
    // the new file still lands in the folder that was checked.
    fs::create_directories("evil/d");
    fs::create_directory("home");
    writeFile("evil/d/bashrc", "SAV\nlooks like a save\n");
    writeFile("home/bashrc", "export PATH\n");
    fs::remove(kSave);
    fs::create_symlink("evil/d/bashrc", kSave);
    saveFileOps.createTemp = swapFolderThenCreate;
    EXPECT_TRUE(saveQuietly(3, 3, 3));
    EXPECT_EQ(readFile("home/bashrc"), "export PATH\n");
    EXPECT_EQ(readFile("evil/d.real/bashrc"), "SAV\n1\n3\n3\n3\n");
    EXPECT_EQ(std::distance(fs::directory_iterator("home"), fs::directory_iterator{}), 1);
}

mode_t modeDuringWrite;

long recordModeThenWrite(FileHandle file, const char* data, std::size_t size) {
    struct stat st {};
    fstat(static_cast<int>(file), &st);
    modeDuringWrite = st.st_mode & 07777;
    return kRealSaveFileOps.write(file, data, size);
}

TEST_F(HighScoreTest, PermissionsAreKeptButNobodyElseCanReadTheFileWhileItIsWritten) {
    writeFile(kSave, "SAV\n1\n100\n10\n2\n");
    fs::permissions(kSave, fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                               fs::perms::others_read);
    saveFileOps.write = recordModeThenWrite;
    EXPECT_TRUE(saveQuietly(200, 1, 1));
    EXPECT_EQ(modeDuringWrite, 0600u);
    EXPECT_EQ(readFile(kSave), "SAV\n1\n200\n10\n2\n");
    EXPECT_EQ(permsOf(kSave), fs::perms::owner_read | fs::perms::owner_write |
                                  fs::perms::group_read | fs::perms::others_read);

    const std::string kept = readFile(kSave);
    // Read-only for everyone: kept even by a user whom no mode stops.
    fs::permissions(kSave, fs::perms::owner_read | fs::perms::group_read);
    EXPECT_FALSE(saveQuietly(300, 20, 3));
    EXPECT_EQ(readFile(kSave), kept);
    EXPECT_EQ(permsOf(kSave), fs::perms::owner_read | fs::perms::group_read);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{kSave}) << "no temporary file left";
}

// As a player who is not root: a group-writable save of root's keeps its group
// (the owner cannot be kept), and a file only root may write is left alone,
// although the player could replace it in their own folder.
TEST_F(HighScoreTest, AnotherUserKeepsTheGroupAndLeavesAFileTheyMayNotWriteAlone) {
    if (geteuid() != 0) {
        GTEST_SKIP() << "acting as another user needs root";
    }
    constexpr uid_t kPlayer = 65534;
    constexpr gid_t kShared = 4242;
    ASSERT_EQ(chmod(".", 0755), 0);
    for (const char* folder : {"shared", "other"}) {
        fs::create_directory(folder);
        ASSERT_EQ(chown(folder, kPlayer, kPlayer), 0);
        writeFile(std::string(folder) + "/kolvex.sav", "SAV\n1\n1\n1\n1\n");
    }
    ASSERT_EQ(chown("shared/kolvex.sav", 0, kShared), 0);
    ASSERT_EQ(chmod("shared/kolvex.sav", 02770), 0);
    ASSERT_EQ(chmod("other/kolvex.sav", 0644), 0);

    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
        const gid_t groups[] = {kShared};
        const bool asPlayer =
            setgroups(1, groups) == 0 && setgid(kPlayer) == 0 && setuid(kPlayer) == 0;
        const bool quiet = std::freopen("/dev/null", "w", stdout) != nullptr;
        const bool sharedSaved = chdir("shared") == 0 && saveHighScore(9, 9, 9);
        const bool otherSaved = chdir("../other") == 0 && saveHighScore(9, 9, 9);
        _exit(quiet && asPlayer && sharedSaved && !otherSaved ? 0 : 1);
    }
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
    struct stat shared {};
    ASSERT_EQ(stat("shared/kolvex.sav", &shared), 0);
    EXPECT_EQ(shared.st_uid, kPlayer);
    EXPECT_EQ(shared.st_gid, kShared);
    EXPECT_EQ(shared.st_mode & 07777, 02770u) << "set-group-id kept after the group";
    EXPECT_EQ(readFile("shared/kolvex.sav"), "SAV\n1\n9\n9\n9\n");
    EXPECT_EQ(readFile("other/kolvex.sav"), "SAV\n1\n1\n1\n1\n");
    EXPECT_EQ(std::distance(fs::directory_iterator("other"), fs::directory_iterator{}), 1);
}

std::string contentAtDirectorySync;

bool recordDirectorySync(const SaveTarget& target) {
    contentAtDirectorySync = readFile(target.name);
    return true;
}

TEST_F(HighScoreTest, TheDirectoryIsFlushedAfterTheRename) {
    saveFileOps.syncFolder = recordDirectorySync;
    EXPECT_TRUE(saveQuietly(42, 4, 1));
    EXPECT_EQ(contentAtDirectorySync, "SAV\n1\n42\n4\n1\n");
}

// Fakes for one failing step each. The write fake lets the first bytes through
// so the temporary file really holds a partial save when it fails.
StepResult failCreate(const SaveTarget&, const std::string&, FileHandle&) {
    return StepResult::Failed;
}
long failAfterSomeBytes(FileHandle file, const char* data, std::size_t size) {
    kRealSaveFileOps.write(file, data, size / 2);
    return -1;
}
bool failSync(FileHandle) {
    return false;
}
bool failKeepAccess(const SaveTarget&, FileHandle) {
    return false;
}
bool failClose(FileHandle file) {
    kRealSaveFileOps.close(file);
    return false;
}
StepResult failMove(const SaveTarget&, const std::string&) {
    return StepResult::Failed;
}

// The answers Windows gives: names in use reported as access denied, and a
// file held open for a moment by a scanner.
int namesTaken;
int busyMoves;
int pauses;

StepResult takenThenCreate(const SaveTarget& target, const std::string& name, FileHandle& file) {
    if (namesTaken > 0) {
        --namesTaken;
        return StepResult::NameTaken;
    }
    return kRealSaveFileOps.createTemp(target, name, file);
}
StepResult busyThenMove(const SaveTarget& target, const std::string& tempName) {
    if (busyMoves > 0) {
        --busyMoves;
        return StepResult::Busy;
    }
    return kRealSaveFileOps.move(target, tempName);
}
void countPause(int) {
    ++pauses;
}

// One of the save's primitives swapped for a failing one, by name.
struct BrokenStep {
    const char* name;
    void (*breakIt)(SaveFileOps& ops);
};

TEST_F(HighScoreTest, SaveFailingAtAnyStepReturnsFalseAndKeepsTheOldFileByteForByte) {
    const std::vector<BrokenStep> steps = {
        {"create", [](SaveFileOps& ops) { ops.createTemp = failCreate; }},
        {"every name taken", [](SaveFileOps& ops) { ops.createTemp = takenThenCreate; }},
        {"write", [](SaveFileOps& ops) { ops.write = failAfterSomeBytes; }},
        {"sync", [](SaveFileOps& ops) { ops.sync = failSync; }},
        {"keep access", [](SaveFileOps& ops) { ops.keepAccess = failKeepAccess; }},
        {"close", [](SaveFileOps& ops) { ops.close = failClose; }},
        {"move", [](SaveFileOps& ops) { ops.move = failMove; }},
        {"busy for good", [](SaveFileOps& ops) { ops.move = busyThenMove; }},
    };
    const std::string old = "SAV\r\n1\r\n100\r\n10\r\n2\r\n\r\n";
    for (const BrokenStep& step : steps) {
        SCOPED_TRACE(step.name);
        writeFile(kSave, old);
        saveFileOps = kRealSaveFileOps;
        saveFileOps.pause = countPause;
        namesTaken = 1000;
        busyMoves = 1000;
        pauses = 0;
        step.breakIt(saveFileOps);

        testing::internal::CaptureStdout();
        EXPECT_FALSE(saveHighScore(500, 50, 5));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "500 | 100\n50 | 10\n5 | 2\n");
        EXPECT_EQ(readFile(kSave), old);
        EXPECT_EQ(dir.entries(), std::vector<std::string>{kSave}) << "no temporary file left";
    }
    EXPECT_EQ(1000 - busyMoves, 6) << "a few tries";
    EXPECT_EQ(pauses, 5) << "with a pause between two";

    // A few names taken and a few busy answers are waited out.
    saveFileOps = kRealSaveFileOps;
    saveFileOps.createTemp = takenThenCreate;
    saveFileOps.move = busyThenMove;
    saveFileOps.pause = countPause;
    namesTaken = 3;
    busyMoves = 2;
    pauses = 0;
    EXPECT_TRUE(saveQuietly(500, 50, 5));
    EXPECT_EQ(readFile(kSave), "SAV\n1\n500\n50\n5\n");
    EXPECT_EQ(pauses, 2);
    EXPECT_EQ(dir.entries(), std::vector<std::string>{kSave});
}

TEST_F(HighScoreTest, RealRenameFailureOverADirectoryLeavesItAndNoTemporary) {
    fs::create_directory(kSave);
    writeFile(std::string(kSave) + "/keep", "x");
    EXPECT_FALSE(saveQuietly(1, 1, 1));
    EXPECT_TRUE(fs::is_directory(kSave));
    EXPECT_EQ(readFile(std::string(kSave) + "/keep"), "x");
    EXPECT_EQ(dir.entries(), std::vector<std::string>{kSave});
}

// The answers of a save that exists but cannot be read: refused outright (no
// permission, an I/O error), a read failing halfway, or held by another
// program for longer than the read waits.
StepResult refuseOpen(const SaveTarget&, FileHandle& file) {
    file = kNoFile;
    return StepResult::Failed;
}
int busyOpens;
StepResult busyThenOpen(const SaveTarget& target, FileHandle& file) {
    if (busyOpens > 0) {
        --busyOpens;
        file = kNoFile;
        return StepResult::Busy;
    }
    return kRealSaveFileOps.openForReading(target, file);
}
long failAfterFirstBytes(FileHandle file, char* data, std::size_t) {
    static bool failNow = false;
    failNow = !failNow;
    return failNow ? kRealSaveFileOps.read(file, data, 4) : -1;
}

TEST_F(HighScoreTest, ASaveThatExistsButCannotBeReadIsNeverReplaced) {
    const std::string stored = "SAV\n1\n5000\n40\n7\n";
    const std::vector<BrokenStep> cases = {
        {"open refused", [](SaveFileOps& ops) { ops.openForReading = refuseOpen; }},
        {"read fails", [](SaveFileOps& ops) { ops.read = failAfterFirstBytes; }},
        {"held for good", [](SaveFileOps& ops) { ops.openForReading = busyThenOpen; }},
    };
    for (const BrokenStep& c : cases) {
        SCOPED_TRACE(c.name);
        writeFile(kSave, stored);
        saveFileOps = kRealSaveFileOps;
        saveFileOps.pause = countPause;
        busyOpens = 1000;
        pauses = 0;
        c.breakIt(saveFileOps);
        testing::internal::CaptureStdout();
        EXPECT_FALSE(saveHighScore(188, 0, 1));
        EXPECT_EQ(testing::internal::GetCapturedStdout(), "") << "no bests read, none traced";
        EXPECT_EQ(readFile(kSave), stored);
        EXPECT_EQ(dir.entries(), std::vector<std::string>{kSave});
    }
    EXPECT_EQ(1000 - busyOpens, 6) << "a few tries";
    EXPECT_EQ(pauses, 5);

    // Held for a moment only: the read is tried again and the bests merged.
    saveFileOps = kRealSaveFileOps;
    saveFileOps.openForReading = busyThenOpen;
    saveFileOps.pause = countPause;
    busyOpens = 2;
    EXPECT_TRUE(saveQuietly(188, 50, 1));
    EXPECT_EQ(readFile(kSave), "SAV\n1\n5000\n50\n7\n");
}

int busyLocks;
int pausedMilliseconds;
StepResult busyThenLock(SaveTarget& target) {
    if (busyLocks > 0) {
        --busyLocks;
        return StepResult::Busy;
    }
    return kRealSaveFileOps.lock(target);
}
void sumPause(int milliseconds) {
    pausedMilliseconds += milliseconds;
}

TEST_F(HighScoreTest, ALockNotHadWithinASecondOrTwoMeansNoWrite) {
    const std::string stored = "SAV\n1\n100\n10\n2\n";
    writeFile(kSave, stored);
    saveFileOps.pause = sumPause;

    // Another Kolvex saving in this folder, as the real lock sees it.
    const int other = open(".", O_RDONLY | O_DIRECTORY);
    ASSERT_GE(other, 0);
    ASSERT_EQ(flock(other, LOCK_EX), 0);
    EXPECT_FALSE(saveQuietly(500, 50, 5));
    EXPECT_EQ(readFile(kSave), stored);
    EXPECT_GE(pausedMilliseconds, 1000) << "waited a while";
    EXPECT_LE(pausedMilliseconds, 2000) << "but never long";
    close(other);

    // The lock busy for a moment is waited for; a lock that fails is no save.
    saveFileOps.lock = busyThenLock;
    busyLocks = 20;
    EXPECT_TRUE(saveQuietly(500, 50, 5));
    EXPECT_EQ(readFile(kSave), "SAV\n1\n500\n50\n5\n");
    saveFileOps.lock = [](SaveTarget&) { return StepResult::Failed; };
    EXPECT_FALSE(saveQuietly(600, 60, 6));
    EXPECT_EQ(readFile(kSave), "SAV\n1\n500\n50\n5\n");
}

TEST_F(HighScoreTest, ASaveOfANewerFormatIsReadButNeverRewritten) {
    for (const std::string newer :
         {"SAV\n2\n100\n10\n2\nmore to come\n", "SAV\r\n10\r\n", "SAV\n4294967295\n100\n10\n2\n"}) {
        SCOPED_TRACE(newer);
        writeFile(kSave, newer);
        EXPECT_FALSE(saveQuietly(500, 50, 5));
        EXPECT_EQ(readFile(kSave), newer);
        EXPECT_EQ(dir.entries(), std::vector<std::string>{kSave});
    }
    EXPECT_EQ(loadHighScore().bestScore, 100u);

    // Ours, or a version line that is no number, is rewritten as version 1.
    for (const std::string older :
         {"SAV\n1\n100\n10\n2\n", "SAV\n01\n100\n10\n2\n", "SAV\nv2\n100\n10\n2\n"}) {
        SCOPED_TRACE(older);
        writeFile(kSave, older);
        EXPECT_TRUE(saveQuietly(500, 5, 1));
        EXPECT_EQ(readFile(kSave), "SAV\n1\n500\n10\n2\n");
    }
}

// A child process that saves once both are started and says by its exit
// status whether it saved.
pid_t forkSaver(const int start[2], std::uint32_t score, std::uint16_t lines, std::uint16_t level) {
    const pid_t child = fork();
    if (child == 0) {
        char go = 0;
        const bool quiet = std::freopen("/dev/null", "w", stdout) != nullptr;
        // The start is the last writer's end closing.
        close(start[1]);
        const bool started = read(start[0], &go, 1) == 0;
        _exit(quiet && started && saveHighScore(score, lines, level) ? 0 : 1);
    }
    return child;
}

bool exitedWell(pid_t child) {
    int status = 0;
    return waitpid(child, &status, 0) == child && WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

TEST_F(HighScoreTest, TwoProcessesSavingAtOnceKeepEachHigherBest) {
    constexpr int kTrials = 100;
    int lost = 0;
    for (int trial = 0; trial < kTrials; ++trial) {
        writeFile(kSave, "SAV\n1\n0\n0\n0\n");
        int start[2];
        ASSERT_EQ(pipe(start), 0);
        const pid_t high = forkSaver(start, 2000, 1, 9);
        const pid_t low = forkSaver(start, 1000, 9, 1);
        ASSERT_GT(high, 0);
        ASSERT_GT(low, 0);
        close(start[0]);
        close(start[1]); // both go
        EXPECT_TRUE(exitedWell(high));
        EXPECT_TRUE(exitedWell(low));
        lost += readFile(kSave) == "SAV\n1\n2000\n9\n9\n" ? 0 : 1;
    }
    EXPECT_EQ(lost, 0) << "trials out of " << kTrials << " that lost a best";
    EXPECT_EQ(dir.entries(), std::vector<std::string>{kSave});
}

} // namespace
