#include "WindowCheck.h"

#include <gtest/gtest.h>

#include "app/RunHandler.h"
#include "app/TApplication.h"
#include "support/ScriptedDialogs.h"

namespace tarvik {

WindowOutcome CheckInWindow(Platform& platform, const std::string& list_file,
                            const std::function<void(TForm1&)>& settings) {
  ScriptedDialogs dialogs;
  TApplication application(platform, dialogs);
  TForm1& form = application.Form1;
  form.CheckBoxMode.SetChecked(false);
  form.CheckBox6.SetChecked(true);
  settings(form);
  dialogs.Enter(list_file);
  // The start question, asked only without the walk: begin with the first file.
  if (!form.CheckBoxMode.Checked()) dialogs.Cancel();
  for (int i = 0; i < 20; ++i) dialogs.Ok();
  application.Run();
  RunHandler(dialogs, [&] { form.BitBtn1Click(); });
  const auto information = dialogs.Texts(DialogKind::kInformation);
  return {application.ListError.Memo1.Lines(), dialogs.Texts(DialogKind::kError),
          "Всего считано : Файлов  = " + form.Edit1.Text() + ", " + form.Edit2.Text() + " Кб",
          application.DlgInfo.Visible() ? application.DlgInfo.Caption() : information.back()};
}

void ExpectSameAsWindow(const ProcessResult& cli, const WindowOutcome& window) {
  std::vector<std::string> expected = window.problems;
  expected.insert(expected.end(), {window.totals, "", window.verdict});
  std::vector<std::string> out = Lines(cli.out);
  // The elapsed time may differ by a second between the two runs.
  ASSERT_EQ(out.size(), expected.size()) << cli.out;
  EXPECT_TRUE(out[out.size() - 2].starts_with("Время  = ")) << out[out.size() - 2];
  out[out.size() - 2].clear();
  EXPECT_EQ(out, expected);
  EXPECT_EQ(Lines(cli.err), window.error_boxes);
}

std::string ListWithoutDate(const std::string& bytes) { return bytes.substr(bytes.find("\r\n")); }

}  // namespace tarvik
