// Writing PNG frames and the GIF on a worker thread, in the order they were asked for.
#include "toolkit/picture_writer.h"

#include <cstdio>
#include <filesystem>
#include <utility>

#include "platform/drawing/png.h"

namespace kavro {
namespace {

// Enough to keep the worker busy through a burst of frames.
constexpr std::size_t MAX_WAITING = 4;

}  // namespace

PictureWriter::PictureWriter(std::string gif_path, std::string out_dir, int gif_centiseconds)
    : gif_path_(std::move(gif_path)),
      out_dir_(std::move(out_dir)),
      gif_centiseconds_(gif_centiseconds),
      worker_([this] { run(); }) {}

PictureWriter::~PictureWriter() { finish(); }

void PictureWriter::submit(std::int64_t frame, platform::Bitmap picture) {
    std::unique_lock lock(mutex_);
    changed_.wait(lock, [this] { return waiting_.size() < MAX_WAITING; });
    waiting_.push_back(Job{frame, std::move(picture)});
    changed_.notify_all();
}

bool PictureWriter::failed() const {
    std::lock_guard lock(mutex_);
    return failed_;
}

void PictureWriter::run() {
    for (;;) {
        std::unique_lock lock(mutex_);
        changed_.wait(lock, [this] { return stopping_ || !waiting_.empty(); });
        if (waiting_.empty()) return;
        Job job = std::move(waiting_.front());
        waiting_.pop_front();
        const bool skip = failed_;
        changed_.notify_all();
        lock.unlock();
        if (!skip) write(job);
    }
}

void PictureWriter::write(const Job& job) {
    std::string failed_path;
    if (!gif_path_.empty()) {
        if (gif_.frames() == 0 && !gif_.open(gif_path_, job.picture.width, job.picture.height, gif_centiseconds_))
            failed_path = gif_path_;
        else if (!gif_.add_frame(job.picture))
            failed_path = gif_path_;
    }
    if (!out_dir_.empty()) {
        char name[32];
        std::snprintf(name, sizeof name, "frame-%06lld.png", static_cast<long long>(job.frame));
        const std::string path = (std::filesystem::path(out_dir_) / name).string();
        if (platform::write_png(path.c_str(), job.picture)) {
            result_.png_frames.push_back(job.frame);
        } else {
            std::remove(path.c_str());
            if (failed_path.empty()) failed_path = path;
        }
    }
    if (failed_path.empty()) return;
    result_.failed_path = failed_path;
    std::lock_guard lock(mutex_);
    failed_ = true;
}

PictureWriter::Result PictureWriter::finish() {
    if (finished_) return result_;
    finished_ = true;
    {
        std::lock_guard lock(mutex_);
        stopping_ = true;
        changed_.notify_all();
    }
    worker_.join();
    if (!gif_.close() && result_.failed_path.empty()) result_.failed_path = gif_path_;
    return result_;
}

}  // namespace kavro
