// Messages of the conversion path, built in a fixed buffer (nothing is allocated while a
// drawing converts) and shown through the platform layer.
#pragma once

#include <cstddef>
#include <filesystem>

#include "platform/printf_format.h"

namespace korvex {

inline constexpr std::size_t kMessageCapacity = 1024;

struct MessageText {
  char text[kMessageCapacity];
  std::size_t length;
};

// Starts the message with a printf pattern; a message longer than the buffer is cut.
void FormatMessage(MessageText& message, const char* pattern, ...) KORVEX_PRINTF_FORMAT(2, 3);

void AppendMessage(MessageText& message, const char* piece);

// Shows the message; returns the answer of the platform layer.
int ShowMessageText(const MessageText& message, unsigned flags);

// Shows a pattern whose one %s is a file's path; a reason, when given and not empty, follows
// on a line of its own.
int ShowPathMessage(const char* pattern, const std::filesystem::path& path, unsigned flags,
                    const char* reason = nullptr);

}  // namespace korvex
