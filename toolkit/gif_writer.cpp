// The palette is known only once every frame is in, so the frames are kept
// in memory and the file is written at close, palette first.
#include "toolkit/gif_writer.h"

#include <algorithm>
#include <cstring>

namespace kavro {
namespace {

constexpr unsigned MAX_CODES = 4096;
constexpr int MAX_CODE_BITS = 12;
constexpr int DISPOSE_KEEP = 1;  // the next frame is drawn over this one

void put_u16(std::vector<std::uint8_t>& out, int value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

// The bits needed to write `value`.
int bits_for(int value) {
    int bits = 0;
    while ((1 << bits) <= value) ++bits;
    return bits;
}

// Codes in GIF order, low bits first, in sub-blocks of up to 255 bytes.
class CodeWriter {
public:
    explicit CodeWriter(std::vector<std::uint8_t>& out) : out_(out) { start_block(); }
    void put(unsigned code, int width) {
        bits_ |= static_cast<std::uint64_t>(code) << count_;
        count_ += width;
        while (count_ >= 8) {
            put_byte(static_cast<std::uint8_t>(bits_));
            bits_ >>= 8;
            count_ -= 8;
        }
    }
    void finish() {
        if (count_ > 0) put_byte(static_cast<std::uint8_t>(bits_));
        if (block_bytes_ == 0)
            out_.pop_back();
        else
            out_[block_start_] = static_cast<std::uint8_t>(block_bytes_);
        out_.push_back(0);
    }

private:
    void start_block() {
        block_start_ = out_.size();
        block_bytes_ = 0;
        out_.push_back(0);
    }
    void put_byte(std::uint8_t byte) {
        out_.push_back(byte);
        if (++block_bytes_ == 255) {
            out_[block_start_] = 255;
            start_block();
        }
    }

    std::vector<std::uint8_t>& out_;
    std::uint64_t bits_ = 0;
    int count_ = 0;
    std::size_t block_start_ = 0;
    int block_bytes_ = 0;
};

// The rows and columns where `now` differs from `before`; empty when none.
platform::Rect changed_area(const platform::Pixel* now, const platform::Pixel* before, int width, int height) {
    const std::size_t row_bytes = static_cast<std::size_t>(width) * sizeof(platform::Pixel);
    auto row_differs = [&](int y) {
        const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        return std::memcmp(now + at, before + at, row_bytes) != 0;
    };
    int top = 0;
    while (top < height && !row_differs(top)) ++top;
    if (top == height) return {};
    int bottom = height;
    while (!row_differs(bottom - 1)) --bottom;
    int left = width;
    int right = 0;
    for (int y = top; y < bottom; ++y) {
        const std::size_t at = static_cast<std::size_t>(y) * static_cast<std::size_t>(width);
        const platform::Pixel* a = now + at;
        const platform::Pixel* b = before + at;
        int x = 0;
        while (x < left && a[x] == b[x]) ++x;
        left = std::min(left, x);
        int end = width;
        while (end > right && a[end - 1] == b[end - 1]) --end;
        right = std::max(right, end);
    }
    return {left, top, std::max(left + 1, right), bottom};
}

}  // namespace

GifWriter::~GifWriter() {
    if (file_) close();
}

bool GifWriter::open(const std::string& path, int width, int height, int centiseconds_per_frame) {
    if (file_) close();
    frames_ = 0;
    width_ = std::clamp(width, 1, 0xFFFF);
    height_ = std::clamp(height, 1, 0xFFFF);
    delay_ = std::clamp(centiseconds_per_frame, 0, 0xFFFF);
    highest_index_ = 0;
    palette_.clear();
    body_.clear();
    shown_.assign(static_cast<std::size_t>(width_) * static_cast<std::size_t>(height_), 0);
    file_ = std::fopen(path.c_str(), "wb");
    return file_ != nullptr;
}

bool GifWriter::add_frame(const platform::Bitmap& frame) {
    if (!file_) return false;
    const platform::Bitmap* picture = &frame;
    platform::Bitmap fitted;
    if (frame.width != width_ || frame.height != height_) {
        fitted = platform::Bitmap(width_, height_);
        for (int y = 0; y < std::min(height_, frame.height); ++y)
            std::copy_n(frame.row(y), std::min(width_, frame.width), fitted.row(y));
        picture = &fitted;
    }
    if (frames_ == 0) {
        encode_rectangle(*picture, {0, 0, width_, height_}, true);
    } else {
        platform::Rect area = changed_area(picture->pixels.data(), shown_.data(), width_, height_);
        // A frame that changes nothing still holds its place in time: one transparent pixel.
        if (area.empty()) area = {0, 0, 1, 1};
        encode_rectangle(*picture, area, false);
    }
    ++frames_;
    return true;
}

void GifWriter::encode_rectangle(const platform::Bitmap& frame, platform::Rect area, bool first) {
    const std::size_t count = static_cast<std::size_t>(area.width()) * static_cast<std::size_t>(area.height());
    if (indices_.size() < count) {
        indices_.resize(count);
        unchanged_.resize(count);
    }
    bool used[platform::PaletteMap::MAX_COLOURS] = {};
    std::uint8_t* indices = indices_.data();
    std::uint8_t* unchanged = unchanged_.data();
    for (int y = area.top; y < area.bottom; ++y) {
        const platform::Pixel* row = frame.row(y);
        platform::Pixel* shown = shown_.data() + static_cast<std::size_t>(y) * static_cast<std::size_t>(width_);
        // Pictures are drawn in runs of one colour: one look-up a run.
        for (int x = area.left; x < area.right;) {
            const platform::Pixel pixel = row[x];
            int index = palette_.index_of(pixel);
            if (index < 0) index = palette_.nearest(pixel);
            used[index] = true;
            int end = x + 1;
            while (end < area.right && row[end] == pixel) ++end;
            std::memset(indices, index, static_cast<std::size_t>(end - x));
            indices += end - x;
            x = end;
        }
        for (int x = area.left; x < area.right; ++x) *unchanged++ = row[x] == shown[x];
        std::copy(row + area.left, row + area.right, shown + area.left);
    }
    if (first) std::fill_n(unchanged_.begin(), count, std::uint8_t{0});
    // The lowest index the rectangle does not use keeps the code size small.
    int transparent = -1;
    if (!first) {
        for (int i = 0; i < platform::PaletteMap::MAX_COLOURS; ++i)
            if (!used[i]) {
                transparent = i;
                break;
            }
    }
    int highest = std::max(transparent, 0);
    for (int i = platform::PaletteMap::MAX_COLOURS - 1; i > highest; --i)
        if (used[i]) {
            highest = i;
            break;
        }
    highest_index_ = std::max(highest_index_, highest);
    put_frame_header(area, transparent);
    encode_codes(count, std::max(2, bits_for(highest)), transparent);
}

void GifWriter::put_frame_header(platform::Rect area, int transparent) {
    const std::uint8_t control[] = {0x21, 0xF9, 4, static_cast<std::uint8_t>(DISPOSE_KEEP << 2 | (transparent >= 0))};
    body_.insert(body_.end(), std::begin(control), std::end(control));
    put_u16(body_, delay_);
    body_.push_back(static_cast<std::uint8_t>(std::max(transparent, 0)));
    body_.push_back(0);
    body_.push_back(0x2C);
    put_u16(body_, area.left);
    put_u16(body_, area.top);
    put_u16(body_, area.width());
    put_u16(body_, area.height());
    body_.push_back(0);  // no local palette, not interlaced
}

// LZW with a direct string table (code and index to the longer code). An
// unchanged pixel may go as its colour or as `transparent`: where the table
// holds both, the search follows both, up to BRANCHES times a string, and
// keeps the longer; a new string starts there as transparent unless only its
// colour leads on.
void GifWriter::encode_codes(std::size_t count, int min_code_size, int transparent) {
    constexpr int BRANCHES = 16;
    const unsigned clear = 1u << min_code_size;
    const unsigned end_of_data = clear + 1;
    const int shift = min_code_size;
    const std::size_t table_size = std::size_t{MAX_CODES} << shift;
    if (children_.size() < table_size) children_.assign(table_size, 0);
    body_.push_back(static_cast<std::uint8_t>(min_code_size));
    CodeWriter out(body_);
    unsigned next_code = end_of_data + 1;
    int width = min_code_size + 1;
    out.put(clear, width);
    const std::uint8_t* indices = indices_.data();
    // Without a free index, no pixel counts as unchanged.
    const std::uint8_t* unchanged = transparent >= 0 ? unchanged_.data() : nullptr;
    const unsigned keep = static_cast<unsigned>(std::max(transparent, 0));
    const std::uint16_t* children = children_.data();
    auto child = [&](unsigned code, unsigned index) { return children[(code << shift) | index]; };
    auto leads_on = [&](unsigned index, std::size_t i) {
        return child(index, indices[i]) || (unchanged[i] && child(index, keep));
    };
    // The symbol a string starting at pixel i begins with.
    auto first_symbol = [&](std::size_t i) {
        if (!unchanged || !unchanged[i]) return static_cast<unsigned>(indices[i]);
        if (i + 1 < count && !leads_on(keep, i + 1) && leads_on(indices[i], i + 1))
            return static_cast<unsigned>(indices[i]);
        return keep;
    };

    struct Branch {
        unsigned code;
        std::size_t end;
    };
    Branch pending[BRANCHES + 1];
    unsigned prefix = first_symbol(0);
    std::size_t i = 1;
    for (;;) {
        // The longest string in the table from pixel i on, after `prefix`.
        Branch best{prefix, i};
        int branches = BRANCHES;
        int waiting = 0;
        Branch at = best;
        for (;;) {
            while (at.end < count) {
                const unsigned as_colour = child(at.code, indices[at.end]);
                const unsigned as_kept = unchanged && unchanged[at.end] ? child(at.code, keep) : 0;
                if (as_colour && as_kept && as_colour != as_kept && branches > 0) {
                    --branches;
                    pending[waiting++] = Branch{as_colour, at.end + 1};
                }
                const unsigned next = as_kept ? as_kept : as_colour;
                if (!next) break;
                at = Branch{next, at.end + 1};
            }
            if (at.end > best.end) best = at;
            if (waiting == 0) break;
            at = pending[--waiting];
        }
        out.put(best.code, width);
        if (best.end >= count) break;
        const unsigned symbol = first_symbol(best.end);
        if (next_code >= (1u << width) && width < MAX_CODE_BITS) ++width;
        if (next_code >= MAX_CODES - 1) {
            out.put(clear, width);
            std::fill_n(children_.begin(), static_cast<std::size_t>(next_code) << shift, std::uint16_t{0});
            next_code = end_of_data + 1;
            width = min_code_size + 1;
        } else {
            children_[(best.code << shift) | symbol] = static_cast<std::uint16_t>(next_code++);
        }
        prefix = symbol;
        i = best.end + 1;
    }
    if (next_code >= (1u << width) && width < MAX_CODE_BITS) ++width;
    out.put(end_of_data, width);
    out.finish();
    std::fill_n(children_.begin(), static_cast<std::size_t>(next_code) << shift, std::uint16_t{0});
}

bool GifWriter::close() {
    if (!file_) return true;
    const int palette_bits = std::max(1, bits_for(std::max(highest_index_, palette_.size() - 1)));
    std::vector<std::uint8_t> head = {'G', 'I', 'F', '8', '9', 'a'};
    put_u16(head, width_);
    put_u16(head, height_);
    head.push_back(static_cast<std::uint8_t>(0x80 | (palette_bits - 1) << 4 | (palette_bits - 1)));
    head.push_back(0);  // background index
    head.push_back(0);  // square pixels
    for (int i = 0; i < 1 << palette_bits; ++i) {
        const platform::Pixel colour = i < palette_.size() ? palette_.colour(i) : 0;
        head.push_back(static_cast<std::uint8_t>(colour >> 16));
        head.push_back(static_cast<std::uint8_t>(colour >> 8));
        head.push_back(static_cast<std::uint8_t>(colour));
    }
    const std::uint8_t loop_forever[] = {0x21, 0xFF, 11,  'N', 'E', 'T', 'S', 'C', 'A', 'P',
                                         'E',  '2',  '.', '0', 3,   1,   0,   0,   0};
    head.insert(head.end(), std::begin(loop_forever), std::end(loop_forever));
    body_.push_back(0x3B);
    bool ok = std::fwrite(head.data(), 1, head.size(), file_) == head.size() &&
              std::fwrite(body_.data(), 1, body_.size(), file_) == body_.size();
    ok = std::fclose(file_) == 0 && ok;
    file_ = nullptr;
    body_.clear();
    body_.shrink_to_fit();
    return ok;
}

}  // namespace kavro
