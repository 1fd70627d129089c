#pragma once
// A visible text as the core reports it: its id and what fills its %1, %2, ... The faces turn
// it into words with StringTable::Format in the user's language.

#include <string>
#include <vector>

namespace kavro {

struct TextMessage {
  int textId = 0;
  std::vector<std::string> args;
};

}  // namespace kavro
