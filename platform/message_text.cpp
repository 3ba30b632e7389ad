#include "platform/message_text.h"

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <string>

#include "platform/platform.h"

namespace korvex {

void FormatMessage(MessageText& message, const char* pattern, ...) {
  std::va_list arguments;
  va_start(arguments, pattern);
  const int written = std::vsnprintf(message.text, kMessageCapacity, pattern, arguments);
  va_end(arguments);
  message.length = written < 0 ? 0 : std::min<std::size_t>(written, kMessageCapacity - 1);
  message.text[message.length] = '\0';
}

void AppendMessage(MessageText& message, const char* piece) {
  const std::size_t room = kMessageCapacity - 1 - message.length;
  const std::size_t count = std::min(room, std::strlen(piece));
  std::memcpy(message.text + message.length, piece, count);
  message.length += count;
  message.text[message.length] = '\0';
}

int ShowMessageText(const MessageText& message, unsigned flags) {
  return platform::ShowMessage(std::string_view(message.text, message.length), flags);
}

int ShowPathMessage(const char* pattern, const std::filesystem::path& path, unsigned flags,
                    const char* reason) {
  static MessageText message;
  const std::string name = platform::PathText(path);
  FormatMessage(message, pattern, name.c_str());
  if (reason != nullptr && reason[0] != '\0') {
    AppendMessage(message, "\n");
    AppendMessage(message, reason);
  }
  return ShowMessageText(message, flags);
}

}  // namespace korvex
