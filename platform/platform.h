// The few things the conversion path needs of the platform: opening files by path,
// modal messages and the executable's folder; and, for the front ends, ending the process. Which
// front end answers them (desktop, command line, tests) is known only here, through the Frontend
// installed at start-up.
#pragma once

#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace korvex::platform {

// Message styles, as the conversion path asks for them.
inline constexpr unsigned kMessageOk = 0x00;            // OK button, no icon
inline constexpr unsigned kMessageInformation = 0x40;   // OK button, information icon
inline constexpr unsigned kMessageYesNoWarning = 0x34;  // Yes and No, exclamation icon

// Answers, numbered as the classic message box numbers them.
inline constexpr int kAnswerOk = 1;
inline constexpr int kAnswerYes = 6;
inline constexpr int kAnswerNo = 7;

// Caption of every message the program shows.
inline constexpr const char* kMessageCaption = "Korvex";

// Exit status of a run that the conversion path stopped part-way (a limit reached, a
// support file missing). A stopped run is a failure, so it never ends with status 0.
inline constexpr int kExitStopped = 3;

class Frontend {
 public:
  virtual ~Frontend() = default;
  // Shows a modal message and returns the answer (kAnswerOk, kAnswerYes or kAnswerNo).
  virtual int ShowMessage(std::string_view text, unsigned flags) = 0;
  // The folder that holds the running program and its support files.
  virtual std::filesystem::path ExecutableFolder();
  // Ends the process; never returns.
  [[noreturn]] virtual void EndProcess(int status);
};

// Installs the front end that answers from now on; the default one prints to stderr
// and answers No.
void InstallFrontend(Frontend& frontend);

// The front end that answers now; a front end that stands in for a while (gathering
// messages, say) passes on to it what it does not handle itself.
Frontend& InstalledFrontend();

int ShowMessage(std::string_view text, unsigned flags);

// Empty when the folder cannot be found.
std::filesystem::path ExecutableFolder();

// The folder of the running executable as the operating system reports it.
std::filesystem::path RunningExecutableFolder();

// Ends the process through the installed front end; for the front ends' own decisions
// (the library reports outcomes and never ends the process itself).
[[noreturn]] void EndProcess(int status);

// fopen by path: wide names on Windows. The mode should be binary ("rb", "wb"): line ends
// are handled by the callers.
std::FILE* OpenFile(const std::filesystem::path& path, const char* mode);

// Opens an existing file for reading (binary mode). A folder, a device or a pipe is refused
// at once, without waiting on it; nullptr then, with the reason in plain words (the
// system's own for an open that failed).
std::FILE* OpenInputFile(const std::filesystem::path& path, std::string& reason);

// Whether both paths name one existing file (through links, case or other spellings).
bool SameFile(const std::filesystem::path& a, const std::filesystem::path& b);

// The path as UTF-8 text, for messages.
std::string PathText(const std::filesystem::path& path);

// The path that UTF-8 text names (a command-line argument, a text box's contents),
// whatever the system's own encoding of names.
std::filesystem::path PathFromUtf8(const std::string& text);

}  // namespace korvex::platform
