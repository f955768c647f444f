// The kill script: where it goes, its bytes, and the file steps against the real file system.
#include <windows.h>

#include <cstring>
#include <string>

#include "check.h"
#include "commands/kill_script.h"
#include "driver.h"

static void RunDirectoryIsReadCharacterByCharacter() {
    struct {
        const char* path;
        UINT codePage;
        const char* directory;
    } cases[] = {
        {"C:\\Tools\\Kill\\prog.exe", 936, "C:\\Tools\\Kill"},
        {"D:\\prog.exe", 936, "D:"},
        {"prog.exe", 936, ""},
        {"", 936, ""},
        {"\\\\server\\share\\prog.exe", 936, "\\\\server\\share"},
        // 乗 is 0x81 0x5C in GBK: its trail byte is no separator under code page 936...
        {"C:\\A乗\\prog.exe", 936, "C:\\A乗"},
        {"C:\\games\\乗.exe", 936, "C:\\games"},
        {"C:\\乗", 936, "C:"},
        // ...but is one under a single-byte code page.
        {"C:\\games\\乗.exe", 1252, "C:\\games\\\x81"},
    };
    for (auto& c : cases) {
        char out[MAX_PATH];
        RunDirectoryOf(c.path, c.codePage, out);
        CHECKF(strcmp(out, c.directory) == 0, "\"%s\" (cp %u) gave \"%s\"", c.path, c.codePage, out);
    }
    // A lead byte right before the end is taken alone.
    char out[MAX_PATH];
    RunDirectoryOf("C:\\x\\\x81", 936, out);
    CHECK(strcmp(out, "C:\\x") == 0);
}

static void ScriptPathIsInsideTheProgramsFolder() {
    struct {
        const char* directory;
        const char* path;
    } cases[] = {
        {"C:\\Tools\\Kill", "C:\\Tools\\Kill\\强制结束PUBG.bat"},
        {"D:", "D:\\强制结束PUBG.bat"},
        {"", "强制结束PUBG.bat"},
        {"C:\\My Games\\强制乗 工具", "C:\\My Games\\强制乗 工具\\强制结束PUBG.bat"},
    };
    for (auto& c : cases) {
        char out[kMaxScriptPath];
        KillScriptPathIn(c.directory, out);
        CHECKF(strcmp(out, c.path) == 0, "\"%s\" gave \"%s\"", c.directory, out);
    }
    CHECK(strcmp(kKillScriptName, "\xC7\xBF\xD6\xC6\xBD\xE1\xCA\xF8PUBG.bat") == 0);
}

static void ScriptBytesAreExact() {
    std::string script(kKillScriptContent, kKillScriptLength);
    CHECK(script.size() == 92);
    CHECK(script.find('\0') == std::string::npos);
    CHECK(script.back() == 'e');
    size_t first = script.find("\r\n"), second = script.find("\r\n", first + 2);
    CHECK(first == 27 && second - first - 2 == 30 && script.size() - second - 2 == 31);
    CHECK(script.substr(0, first) == "taskkill /f /im TslGame.exe");
    CHECK(script.substr(first + 2, 30) == "taskkill /f /im TslGame_BE.exe");
    CHECK(script.substr(second + 2) == "taskkill /f /im iigw_server.exe");
}

// The steps work on the script beside this test program.
static void FileStepsWriteReplaceAndDelete() {
    const std::string path = driver::BuildDir() + "\\" + kKillScriptName;
    const std::string script(kKillScriptContent, kKillScriptLength);

    driver::WriteWholeFile(path, std::string(500, 'x'));  // a longer file is cut, not overlaid
    CHECK(WriteKillScript());
    CHECK(driver::ReadWholeFile(path) == script);
    CHECK(WriteKillScript());  // again over its own
    CHECK(driver::ReadWholeFile(path) == script);

    // Held open by someone else without write sharing: the write fails and the file is untouched.
    driver::WriteWholeFile(path, "held");
    HANDLE held = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING, 0, nullptr);
    CHECK(!WriteKillScript());
    CHECK(!DeleteKillScript());
    CloseHandle(held);
    CHECK(driver::ReadWholeFile(path) == "held");

    CHECK(DeleteKillScript());
    CHECK(!driver::FileExists(path));
    CHECK(!DeleteKillScript());  // nothing left to delete

    Pause(-5);  // taken as 0, not as an endless sleep
    Pause(0);
}

int main(int argc, char** argv) {
    check::Init(argc, argv);
    RUN(RunDirectoryIsReadCharacterByCharacter);
    RUN(ScriptPathIsInsideTheProgramsFolder);
    RUN(ScriptBytesAreExact);
    RUN(FileStepsWriteReplaceAndDelete);
    return check::Summary();
}
