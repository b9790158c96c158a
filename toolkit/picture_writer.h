// A replay's pictures written on a thread of their own (PNG files and the
// GIF, in the order they were taken), so encoding one frame overlaps the
// turns that lead to the next.
#pragma once

#include <condition_variable>
#include <cstdint>
#include <deque>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/bitmap.h"
#include "toolkit/gif_writer.h"

namespace kavro {

class PictureWriter {
public:
    // An empty path or directory: no GIF, no PNG files.
    PictureWriter(std::string gif_path, std::string out_dir, int gif_centiseconds);
    PictureWriter(const PictureWriter&) = delete;
    PictureWriter& operator=(const PictureWriter&) = delete;
    ~PictureWriter();

    // Waits while a few pictures are still waiting, so memory stays bounded.
    void submit(std::int64_t frame, platform::Bitmap picture);
    // An output failed; the pictures after it are not written.
    bool failed() const;

    struct Result {
        std::vector<std::int64_t> png_frames;  // written, in order
        std::string failed_path;               // the first output that failed, or empty
    };
    // Writes what is waiting and closes the GIF; idempotent.
    Result finish();

private:
    struct Job {
        std::int64_t frame;
        platform::Bitmap picture;
    };
    void run();
    void write(const Job& job);

    const std::string gif_path_;
    const std::string out_dir_;
    const int gif_centiseconds_;
    GifWriter gif_;
    Result result_;  // the worker's, until it is joined

    mutable std::mutex mutex_;
    std::condition_variable changed_;
    std::deque<Job> waiting_;
    bool stopping_ = false;
    bool failed_ = false;
    bool finished_ = false;
    std::thread worker_;
};

}  // namespace kavro
