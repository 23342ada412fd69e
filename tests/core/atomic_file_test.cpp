#include <gtest/gtest.h>

#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <filesystem>
#include <set>

#include "core/atomic_file.h"
#include "core/temporary_file_registry.h"
#include "support/error_text.h"
#include "support/temp_dir.h"

namespace vesk {
namespace {

namespace fs = std::filesystem;
using testing::TempDir;

std::set<std::string> names_in(const fs::path& folder) {
    std::set<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
        names.insert(entry.path().filename().string());
    }
    return names;
}

// Hands out the given suffixes in turn, as if drawn at random.
std::function<std::string()> suffixes(std::vector<std::string> list) {
    return [list = std::move(list), next = std::size_t{0}]() mutable {
        return list.at(std::min(next++, list.size() - 1));
    };
}

// Someone sharing the folder plants, under a name the temporary file may get, a link to a file of
// the user's, a link to where a file would be created, or a file of their own. None may be
// written through or over, and the result must be a file, not a link.
TEST(AtomicFile, NamesPlantedBeforehandAreNeitherFollowedNorOverwritten) {
    const struct {
        const char* what;
        std::vector<std::string> planted;  // suffixes taken, in the order they are drawn
        const char* kind;
    } cases[] = {
        {"a link under a name of the form NAME.tmp-NNNNNN", {".tmp-042917"}, "link"},
        {"links under a guessed random name and the next",
         {".tmp-Guessed12Name", ".tmp-x"},
         "link"},
        {"a link to a file that does not exist yet", {".tmp-000001"}, "dangling"},
        {"somebody else's file", {".tmp-999999"}, "file"},
    };
    for (const auto& [what, planted, kind] : cases) {
        const TempDir dir;
        const std::string victim = dir.write("victim.txt", "the user's own file\n");
        const std::string target = dir.write("result.csv", "old result\n");
        for (const std::string& suffix : planted) {
            const std::string name = target + suffix;
            if (std::string(kind) == "file") {
                dir.write(fs::path(name).filename().string(), "not yours\n");
            } else {
                fs::create_symlink(std::string(kind) == "link" ? victim : dir.file("created"),
                                   name);
            }
        }
        std::vector<std::string> draws = planted;
        draws.push_back(".tmp-free");
        AtomicFile file(target, suffixes(draws));
        file.stream() << "new result\n";
        file.commit();

        EXPECT_EQ(TempDir::read(victim), "the user's own file\n") << what;
        EXPECT_FALSE(fs::exists(dir.file("created"))) << what;
        EXPECT_TRUE(fs::is_regular_file(fs::symlink_status(target))) << what;
        EXPECT_EQ(TempDir::read(target), "new result\n") << what;
        for (const std::string& suffix : planted) {
            EXPECT_TRUE(fs::exists(fs::symlink_status(target + suffix))) << what;
        }
        if (std::string(kind) == "file") {
            EXPECT_EQ(TempDir::read(target + planted[0]), "not yours\n");
        }
    }
}

TEST(AtomicFile, NamesAreDrawnAfreshAndAFolderOfTakenNamesIsAnError) {
    EXPECT_NE(random_temporary_suffix(), random_temporary_suffix());
    const TempDir dir;
    const std::string target = dir.write("result.csv", "old result\n");
    fs::create_symlink(dir.file("victim"), target + ".tmp-taken");
    EXPECT_NE(testing::error_text([&] {
                  AtomicFile file(target, suffixes({".tmp-taken"}));
              }).find("result.csv"),
              std::string::npos);
    EXPECT_EQ(TempDir::read(target), "old result\n");
    EXPECT_EQ(names_in(dir.path()), (std::set<std::string>{"result.csv", "result.csv.tmp-taken"}));
}

// Writes that fail for want of room: the file's size limit stands in for a full disk (the
// process is told EFBIG instead of being ended, as a shell's `ulimit -f` would).
TEST(AtomicFile, AWriteThatFailsKeepsTheOldFileAndLeavesNoTemporaryOne) {
    const TempDir dir;
    const std::string target = dir.write("result.csv", "old result\n");
    const std::string text(64 * 1024, 'x');
    rlimit before{};
    getrlimit(RLIMIT_FSIZE, &before);
    const auto previous_handler = signal(SIGXFSZ, SIG_IGN);
    rlimit small = before;
    small.rlim_cur = 4096;
    setrlimit(RLIMIT_FSIZE, &small);
    const std::string message = testing::error_text([&] {
        AtomicFile file(target);
        file.stream() << text;
        file.commit();
    });
    setrlimit(RLIMIT_FSIZE, &before);
    signal(SIGXFSZ, previous_handler);

    EXPECT_NE(message.find("cannot write the file " + target), std::string::npos) << message;
    EXPECT_EQ(TempDir::read(target), "old result\n");
    EXPECT_EQ(names_in(dir.path()), std::set<std::string>{"result.csv"});
}

TEST(AtomicFile, ADeviceIsWrittenInPlaceAndAFullOneIsAnError) {
    AtomicFile null_device("/dev/null");
    null_device.stream() << "nothing to keep\n";
    EXPECT_NO_THROW(null_device.commit());
    EXPECT_NE(testing::error_text([&] {
                  AtomicFile full("/dev/full");
                  full.stream() << "x";
                  full.commit();
              }).find("cannot write the file /dev/full: disk full"),
              std::string::npos);
    EXPECT_TRUE(fs::is_character_file("/dev/full"));
}

// The program is ended while a file is half written: in a child process that writes a file, says
// so through a pipe and waits for the signal.
TEST(AtomicFile, ATemporaryFileIsRemovedWhenASignalEndsTheProgram) {
    for (const int signal_number : {SIGTERM, SIGINT, SIGHUP}) {
        const TempDir dir;
        const std::string target = dir.write("report.pdf", "old report\n");
        int ready[2];
        ASSERT_EQ(pipe(ready), 0);
        const pid_t child = fork();
        ASSERT_GE(child, 0);
        if (child == 0) {
            close(ready[0]);
            remove_temporary_files_on_signals();
            try {
                AtomicFile file(target);
                file.stream() << "half a report" << std::flush;
                [[maybe_unused]] const auto said = write(ready[1], "w", 1);
                pause();
            } catch (...) {
            }
            _exit(3);
        }
        close(ready[1]);
        char said = 0;
        ASSERT_EQ(read(ready[0], &said, 1), 1);
        close(ready[0]);
        EXPECT_EQ(names_in(dir.path()).size(), 2u);  // the old file and the temporary one
        kill(child, signal_number);
        int status = 0;
        ASSERT_EQ(waitpid(child, &status, 0), child);
        EXPECT_TRUE(WIFSIGNALED(status) && WTERMSIG(status) == signal_number) << signal_number;
        EXPECT_EQ(names_in(dir.path()), std::set<std::string>{"report.pdf"}) << signal_number;
        EXPECT_EQ(TempDir::read(target), "old report\n");
    }
}

}  // namespace
}  // namespace vesk
