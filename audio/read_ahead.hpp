#pragma once
// Reading a WAV file on a worker thread ahead of the import's steps: the worker runs the acmwav's
// steps (reading, decoding, the first channel, the rate conversion) while the steps on the
// caller's thread take the pieces in the same order and sizes and hand them to the temporary
// file. The pieces wait in a few large batches, so the two threads meet once per batch, not once
// per piece; memory stays bounded whatever the file's length.
//
// Threads: open, step, stop and the destructor are called from one thread (the caller's); the
// worker only runs the acmwav given to open, which the caller leaves alone until stop returns.
#include <condition_variable>
#include <cstdint>
#include <deque>
#include <exception>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "audio/acmwav.hpp"
#include "audio/sample_sink.hpp"

namespace zta {

class wav_read_ahead {
 public:
  wav_read_ahead();
  ~wav_read_ahead();  // stops the worker and waits for it
  wav_read_ahead(const wav_read_ahead&) = delete;
  wav_read_ahead& operator=(const wav_read_ahead&) = delete;

  // Opens the file with wav and starts reading it; false (wav.error() says why) when it cannot be
  // read, and then no worker runs.
  bool open(acmwav& wav, const std::string& path);
  // Hands the next piece to sink, exactly as wav.step() would have; false once the last piece has
  // been handed on (or nothing was opened). Waits for the worker when it is behind.
  bool step(sample_sink& sink);
  // Ends the reading now and waits for the worker; no piece is handed on afterwards.
  void stop();

 private:
  struct batch {
    std::vector<std::int16_t> samples;  // the pieces one after another, each from a whole sample
    std::vector<std::int32_t> bytes;    // each piece's byte count, in order
    bool last = false;                  // ends with the acmwav's last piece
  };
  class queue_sink;

  void run();
  // Gives a batch that has been handed on back to the worker and takes the next one, waiting for
  // it; null once the worker has ended without another.
  batch* exchange(batch* done);

  std::unique_ptr<queue_sink> sink_;
  acmwav* wav_ = nullptr;
  std::thread worker_;
  bool inline_ = false;  // no thread could be started: the steps read the file themselves
  std::mutex mutex_;
  std::condition_variable changed_;
  // Guarded by mutex_: batches filled and waiting in order, batches free for the worker, the stop
  // request, the worker's end and what it failed with.
  std::deque<batch*> ready_;
  std::vector<batch*> free_;
  bool stopping_ = false;
  bool worker_done_ = false;
  std::exception_ptr failure_;
  std::vector<std::unique_ptr<batch>> batches_;
  // The caller's side: the batch being handed on, its next piece and where that starts.
  batch* current_ = nullptr;
  std::size_t piece_ = 0;
  std::size_t offset_ = 0;  // samples
  bool reading_ = false;
};

}  // namespace zta
