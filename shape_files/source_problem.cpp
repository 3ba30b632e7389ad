#include "shape_files/source_problem.h"

#include <cstdarg>
#include <cstdio>

namespace korvex {

bool SourceProblemList::Has(ProblemKind kind) const {
  for (int i = 0; i < count; ++i) {
    if (items[i].kind == kind) return true;
  }
  return false;
}

bool IsWarning(ProblemKind kind) {
  return kind == ProblemKind::kLowerCaseName || kind == ProblemKind::kAmbiguousOctant;
}

void AddSourceProblem(SourceProblemList& list, int line, ProblemKind kind, const char* format,
                      ...) {
  if (IsWarning(kind)) ++list.warnings;
  if (list.count == kMaxSourceProblems) {
    ++list.dropped;
    return;
  }
  SourceProblem& problem = list.items[list.count++];
  problem.line = line;
  problem.kind = kind;
  std::va_list arguments;
  va_start(arguments, format);
  std::vsnprintf(problem.text, sizeof problem.text, format, arguments);
  va_end(arguments);
}

}  // namespace korvex
