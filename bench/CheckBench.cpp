// Speed of the check against dd over the same file with the same block size, headless and
// with the main window shown, both without the history; the check recording into the history
// (fingerprint included) against `openssl dgst -sha256` over the same file; and the time from
// Esc to the abort question, also while a read hangs on a disc.
//
//   tarvik-bench-check [MiB]      (1024 by default; the file is made on /dev/shm)

#include <fcntl.h>
#include <unistd.h>

#include <QApplication>
#include <QMessageBox>
#include <QTimer>
#include <QtTest/QTest>
#include <algorithm>
#include <atomic>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <thread>
#include <vector>

#include "Median.h"
#include "Program.h"
#include "app/TApplication.h"
#include "platform/posix/PosixPlatform.h"
#include "scan/ScanEngine.h"
#include "support/FaultyFs.h"

namespace tarvik {
namespace {

using Clock = std::chrono::steady_clock;

double Seconds(Clock::time_point since) {
  return std::chrono::duration<double>(Clock::now() - since).count();
}

// A file of `size` bytes of varied content, written once.
void MakeFile(const std::string& path, std::int64_t size) {
  const int fd = ::open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
  if (fd < 0) std::exit(1);
  std::vector<char> chunk(1 << 20);
  for (std::size_t i = 0; i < chunk.size(); ++i) chunk[i] = static_cast<char>(i * 31 + 7);
  for (std::int64_t written = 0; written < size; written += chunk.size()) {
    if (::write(fd, chunk.data(), chunk.size()) < 0) std::exit(1);
  }
  ::close(fd);
}

double CommandSeconds(const std::string& command) {
  const Clock::time_point start = Clock::now();
  if (std::system(command.c_str()) != 0) std::exit(1);
  return Seconds(start);
}

double DdSeconds(const std::string& path, int block) {
  return CommandSeconds("dd if=" + path + " of=/dev/null bs=" + std::to_string(block) +
                        " status=none");
}

// Answers every box the check-file command may show: its "Ok" box and nothing else.
class QuietDialogs : public Dialogs {
 public:
  std::optional<std::string> SaveFile(const SaveDialog&) override { return std::nullopt; }
  std::optional<std::string> InputBox(const std::string&, const std::string&,
                                      const std::string&) override {
    return std::nullopt;
  }
  void ProcessMessages() override {}
  void MessageBeep(BeepSound) override {}

 protected:
  bool ShowMessage(MessageKind, const std::string&, const std::string&) override { return true; }
  void RunModal(Window&) override {}
};

// Checks the one file of D:\ with the block size of CBSizeBlock's item `item`.
double CheckSeconds(TForm1& form, int item) {
  form.CBSizeBlock.SetItemIndex(item);
  form.FileListBox1.ClickEntry(0);
  const Clock::time_point start = Clock::now();
  form.N3Click();
  return Seconds(start);
}

// Closes every modal box as soon as it shows, answering OK, and notes when the first
// confirmation showed.
class BoxCloser : public QObject {
 public:
  Clock::time_point first_question{};

 protected:
  bool eventFilter(QObject* object, QEvent* event) override {
    if (event->type() == QEvent::Show) {
      if (auto* box = qobject_cast<QMessageBox*>(object)) {
        if (first_question == Clock::time_point{} && box->buttons().size() == 2) {
          first_question = Clock::now();
        }
        // The first button is OK.
        QTimer::singleShot(0, box, [box] { box->buttons().front()->click(); });
      }
    }
    return false;
  }
};

// Presses Esc in the main window when it receives its event.
class EscPresser : public QObject {
 public:
  explicit EscPresser(QWidget& window) : window_(window) {}

 protected:
  void customEvent(QEvent*) override {
    window_.activateWindow();
    if (!QTest::qWaitFor([this] { return QApplication::activeWindow() == &window_; })) return;
    QWidget* focus = QApplication::focusWidget();
    QTest::keyClick(focus != nullptr ? focus : &window_, Qt::Key_Escape);
  }

 private:
  QWidget& window_;
};

// Esc during a check of the first file in 2048-byte blocks: from the key press to the question
// on the screen.
void PrintEscToQuestion(const char* when, Program& program, BoxCloser& closer) {
  TForm1& form = program.application.Form1;
  form.CBSizeBlock.SetItemIndex(0);
  form.FileListBox1.ClickEntry(0);
  closer.first_question = {};
  // The key comes from outside, at a moment of its own, and waits in the queue like a real
  // key press until the check next lets the window take its input.
  std::atomic<std::int64_t> pressed_ns{0};
  EscPresser presser(program.main_window);
  std::thread user([&] {
    std::this_thread::sleep_for(std::chrono::milliseconds(100));
    pressed_ns = Clock::now().time_since_epoch().count();
    QCoreApplication::postEvent(&presser, new QEvent(QEvent::User));
  });
  form.N3Click();
  user.join();
  const Clock::time_point pressed{Clock::duration(pressed_ns.load())};
  if (closer.first_question == Clock::time_point{}) {
    std::printf("Esc to question %s: the check ended before Esc; use a larger file\n", when);
  } else {
    const double latency_ms =
        std::chrono::duration<double, std::milli>(closer.first_question - pressed).count();
    std::printf("Esc to question %s: %.1f ms\n", when, latency_ms);
  }
}

}  // namespace
}  // namespace tarvik

int main(int argc, char** argv) {
  using namespace tarvik;
  qputenv("QT_QPA_PLATFORM", "offscreen");
  QApplication qt_application(argc, argv);
  const std::int64_t mib = argc > 1 ? std::atoll(argv[1]) : 1024;
  const std::string dir = "/dev/shm/tarvik-bench-" + std::to_string(::getpid());
  std::filesystem::create_directories(dir);
  const std::string file = dir + "/BIG.BIN";
  MakeFile(file, mib << 20);
  const std::vector<DriveSpec> drives = {{'D', dir, kDriveRamDisk, "SHM", kPosixVolumeFlags}};

  PosixPlatform headless_platform(drives, "D:\\");
  QuietDialogs quiet;
  TApplication headless(headless_platform, quiet);
  headless.Run();

  PosixPlatform window_platform(drives, "D:\\");
  Program program(window_platform);
  program.Show();
  BoxCloser closer;
  qt_application.installEventFilter(&closer);
  TForm1& shown = program.application.Form1;
  // Against dd the check reads only: no history and so no fingerprints.
  headless.Form1.N17.SetChecked(false);
  shown.N17.SetChecked(false);

  std::printf("%lld MiB on /dev/shm, median of 3 runs, check MB/s / dd MB/s\n",
              static_cast<long long>(mib));
  std::printf("%8s %10s %10s\n", "block", "headless", "window");
  const int items[] = {0, 1, 2, 3, 4};
  for (int item : items) {
    const int block = ScanEngine::kBlockSizes[item];
    std::vector<double> headless_ratios, window_ratios;
    for (int run = 0; run < 3; ++run) {
      headless_ratios.push_back(DdSeconds(file, block) / CheckSeconds(headless.Form1, item));
      window_ratios.push_back(DdSeconds(file, block) / CheckSeconds(shown, item));
    }
    std::printf("%8d %10.3f %10.3f\n", block, Median(headless_ratios), Median(window_ratios));
  }

  // Recording: the first check of the file, then checks compared with the one before.
  headless.Form1.UseHistory(dir + "-history/history.sqlite3");
  headless.Form1.N17.SetChecked(true);
  std::vector<double> openssl_ratios;
  for (int run = 0; run < 3; ++run) {
    const double openssl = CommandSeconds("openssl dgst -sha256 " + file + " > /dev/null");
    openssl_ratios.push_back(CheckSeconds(headless.Form1, 3) / openssl);
  }
  std::printf("recording, 16384-byte blocks: check seconds / openssl dgst -sha256 seconds %.3f\n",
              Median(openssl_ratios));
  headless.Form1.N17.SetChecked(false);

  PrintEscToQuestion("during a 2048-byte check", program, closer);
  // A disc whose drive holds the read: the question comes while the read still waits.
  {
    FaultyFs disc({FaultyFs::File("S/HELD.BIN", std::string(1 << 20, 'h'),
                                  FaultyFs::Faults().HoldFirstRead())});
    PosixPlatform disc_platform({disc.Drive('E')}, "E:\\S");
    Program disc_program(disc_platform);
    disc_program.Show();
    PrintEscToQuestion("while a read hangs on a disc", disc_program, closer);
    disc.ReleaseReads();
  }

  std::filesystem::remove_all(dir);
  std::filesystem::remove_all(dir + "-history");
  return 0;
}
