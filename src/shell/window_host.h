#pragma once
// Port through which command chains show windows: "show this form modally and return when
// it closes", and show a report. The GUI implements it with the Qt windows; a test
// implements it with a scripted user that drives the form's handlers.
namespace tolmex::shell {

class Form;
class Report;

class WindowHost {
 public:
  virtual ~WindowHost() = default;

  // Shows the window bound to `form` modally and returns when it is closed.
  virtual void ShowModal(Form& form) = 0;

  // Shows a report window without blocking, or modally.
  virtual void ShowReport(Report& report) = 0;
  virtual void ShowReportModal(Report& report) = 0;

  // Wait cursor during long work.
  virtual void SetBusy(bool busy) {}
};

}  // namespace tolmex::shell
