#pragma once
// A form holds the state and handlers of one window of the program; the Qt window binds
// widgets to it. Forms talk to the person only through the Prompter.
#include <string_view>

namespace tolmex::shell {

class Form {
 public:
  virtual ~Form() = default;
  // Stable identifier of the window the form belongs to, e.g. "TForm_modelo".
  virtual std::string_view FormName() const = 0;
};

}  // namespace tolmex::shell
