#pragma once

#include <functional>
#include <memory>

namespace tarvik {

// A thread that does calls which may wait long (for a medium, for a server) while its caller
// stays responsive: the caller's `waiting` runs on the caller's thread about every kWaitMs
// until the call is done, and may give the call up by returning false. A call given up runs on
// to its end on its own; until then the thread takes no other call. Whatever a call writes
// must therefore be owned by the call (captured by value), never by its caller's stack.
class CallThread {
 public:
  static constexpr int kWaitMs = 40;

  CallThread() = default;
  // Ends an idle thread; one still busy with a call is let go and ends after its calls.
  ~CallThread();
  CallThread(const CallThread&) = delete;
  CallThread& operator=(const CallThread&) = delete;

  // Runs `call` on the thread, started at the first call. True when it is done; false when
  // `waiting` gave it up, or when a call given up earlier is still running (then `call` is not
  // run). Without `waiting` it waits for the call to end. A thread that the system refuses
  // (too little memory, too many processes) throws IoError: the command cannot go on as it
  // promised, and is ended with the reason instead.
  bool Run(std::function<void()> call, const std::function<bool()>& waiting);
  // A call given up is still running.
  bool Busy() const;
  // Runs `call` on the thread after what it is doing, without waiting for it; at once on the
  // caller's thread when no thread could be started, as nothing can be running there then.
  void Post(std::function<void()> call);

 private:
  struct State;
  // Starts the thread unless it runs; false when the system refuses one.
  bool Start();
  std::shared_ptr<State> state_;
};

}  // namespace tarvik
