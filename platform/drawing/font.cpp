// fontconfig finds the font file, FreeType rasterises it once per glyph into
// spans; drawing then only fills spans. Neither library is visible outside.
#include "platform/drawing/font.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>

#include "platform/drawing/span_fill.h"
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <array>
#include <climits>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#if defined(__has_feature)
#if __has_feature(address_sanitizer)
#define KAVRO_ADDRESS_SANITIZER 1
#endif
#endif
#if defined(__SANITIZE_ADDRESS__) || defined(KAVRO_ADDRESS_SANITIZER)
#include <sanitizer/lsan_interface.h>
#define KAVRO_LEAK_CHECKED 1
#endif

namespace platform {
namespace {

constexpr int SYSTEM_EM_HEIGHT = 13;
constexpr int FIXED_EM_HEIGHT = 10;
constexpr int DEFAULT_EM_HEIGHT = SYSTEM_EM_HEIGHT;
constexpr int BOLD_WEIGHT = 600;
constexpr int RECENT_REQUEST_COUNT = 64;
// Far beyond the widest run (2^31 characters of at most MAX_ADVANCE pixels),
// small enough that no sum of coordinates and offsets overflows.
constexpr std::int64_t COORDINATE_LIMIT = std::int64_t{1} << 52;
constexpr int MAX_ADVANCE = 8 * MAX_FONT_HEIGHT;

constexpr const char* SANS_FAMILY = "DejaVu Sans";
// What a name nobody installed gets when it is not monospace: the metrics of
// the common sans-serif substitute, so that texts laid out for its widths fit.
constexpr const char* SUBSTITUTE_FAMILY = "Liberation Sans";
constexpr const char* MONO_FAMILY = "DejaVu Sans Mono";
constexpr const char* DEJAVU_DIRECTORY = "/usr/share/fonts/truetype/dejavu/";

// Unicode of the cp1252 codes 0x80-0x9F; 0 where cp1252 defines none.
constexpr std::uint16_t CP1252_80_TO_9F[32] = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178,
};

// 0: no character, drawn as the missing glyph.
std::uint32_t unicode_of(unsigned char code) {
    if (code < 0x20 || code == 0x7F) return 0;
    if (code >= 0x80 && code < 0xA0) return CP1252_80_TO_9F[code - 0x80];
    return code;
}

// One run of set pixels: row dy relative to the baseline row (negative above),
// columns x0 to x1 - 1 relative to the pen position.
struct Span {
    std::int32_t dy;
    std::int32_t x0;
    std::int32_t x1;
};

struct Glyph {
    bool loaded = false;
    int advance = 0;
    std::uint32_t first_span = 0;
    std::uint32_t span_count = 0;
    // Ink box relative to pen and baseline row, right and bottom exclusive.
    int left = 0;
    int top = 0;
    int right = 0;
    int bottom = 0;
};

struct FaceFile {
    std::string path;
    int index = 0;
};

struct SizedFace {
    FaceFile file;
    int em_height = 0;
    bool bold = false;
    bool italic = false;
    FT_Face face = nullptr;  // null when the file could not be opened
    bool synthetic_bold = false;
    bool synthetic_italic = false;
    TextMetrics metrics;
    // Rows relative to the baseline row, as for Span::dy.
    int underline_top = 0;
    int underline_thickness = 1;
    int strike_out_top = 0;
    int strike_out_thickness = 1;
    std::array<Glyph, 256> glyphs{};
    std::vector<Span> spans;
};

}  // namespace

class FontInstance {
public:
    SizedFace* face = nullptr;
    bool underline = false;
    bool strike_out = false;
};

namespace {

struct RecentRequest {
    FontRequest request;
    const FontInstance* font = nullptr;
};

struct FontSystem {
    FT_Library library = nullptr;
    FcConfig* config = nullptr;
    std::vector<std::unique_ptr<SizedFace>> faces;
    std::vector<std::unique_ptr<FontInstance>> instances;
    std::array<RecentRequest, RECENT_REQUEST_COUNT> recent{};
    int next_recent = 0;
};

FcConfig* load_font_configuration() {
    // fontconfig loses a block while parsing its configuration files, once per
    // process; that is not ours to fix, so the leak checker looks away.
#if defined(KAVRO_LEAK_CHECKED)
    __lsan::ScopedDisabler ignore_fontconfig_allocations;
#endif
    return FcInitLoadConfigAndFonts();
}

// Never destroyed: glyph caches live until the process ends, and a reachable
// pointer keeps leak checkers quiet.
FontSystem& font_system() {
    static FontSystem* system = [] {
        auto* created = new FontSystem;
        if (FT_Init_FreeType(&created->library) != 0) created->library = nullptr;
        created->config = load_font_configuration();
        return created;
    }();
    return *system;
}

int round_26_6(FT_Pos value) { return static_cast<int>((value + 32) >> 6); }
int ceil_26_6(FT_Pos value) { return static_cast<int>((value + 63) >> 6); }

std::size_t face_length(const FontRequest& request) { return strnlen(request.face, sizeof request.face); }

FontRequest normalized(const FontRequest& request) {
    FontRequest result;
    std::int64_t height = request.height;
    if (height < 0) height = -height;
    if (height == 0) height = DEFAULT_EM_HEIGHT;
    result.height = static_cast<int>(std::min<std::int64_t>(height, MAX_FONT_HEIGHT));
    result.weight = request.weight <= 0 ? 400 : std::min(request.weight, 1000);
    result.italic = request.italic;
    result.underline = request.underline;
    result.strike_out = request.strike_out;
    std::memcpy(result.face, request.face, face_length(request));
    return result;
}

bool same_request(const FontRequest& a, const FontRequest& b) {
    return a.height == b.height && a.weight == b.weight && a.italic == b.italic && a.underline == b.underline &&
           a.strike_out == b.strike_out && std::memcmp(a.face, b.face, sizeof a.face) == 0;
}

bool has_family(FcPattern* pattern, const std::string& family) {
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(pattern, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
        if (FcStrCmpIgnoreCase(value, reinterpret_cast<const FcChar8*>(family.c_str())) == 0) return true;
    }
    return false;
}

// The first generic family in fontconfig's substituted list says how the
// configuration classes a name ("Courier New" is monospace, unknown names are sans-serif).
bool classed_as_monospace(FcPattern* substituted) {
    FcChar8* value = nullptr;
    for (int i = 0; FcPatternGetString(substituted, FC_FAMILY, i, &value) == FcResultMatch; ++i) {
        if (FcStrCmpIgnoreCase(value, reinterpret_cast<const FcChar8*>("monospace")) == 0) return true;
        if (FcStrCmpIgnoreCase(value, reinterpret_cast<const FcChar8*>("sans-serif")) == 0 ||
            FcStrCmpIgnoreCase(value, reinterpret_cast<const FcChar8*>("serif")) == 0) {
            return false;
        }
    }
    return false;
}

// The installed scalable face of exactly this family closest in weight and
// slant. Tells whether the configuration classes the family as monospace.
bool match_family(FcConfig* config, const std::string& family, int weight, bool italic, FaceFile& file,
                  bool& monospace) {
    monospace = false;
    if (!config || family.empty()) return false;
    FcPattern* pattern = FcPatternCreate();
    if (!pattern) return false;
    FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family.c_str()));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    FcPatternAddBool(pattern, FC_SCALABLE, FcTrue);
    FcConfigSubstitute(config, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    monospace = classed_as_monospace(pattern);
    bool found = false;
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(config, pattern, &result);
    if (match) {
        FcChar8* path = nullptr;
        FcBool scalable = FcFalse;
        int index = 0;
        int spacing = 0;
        if (FcPatternGetInteger(match, FC_SPACING, 0, &spacing) == FcResultMatch && spacing == FC_MONO) {
            monospace = true;
        }
        if (has_family(match, family) && FcPatternGetString(match, FC_FILE, 0, &path) == FcResultMatch &&
            FcPatternGetBool(match, FC_SCALABLE, 0, &scalable) == FcResultMatch && scalable) {
            file.path = reinterpret_cast<const char*>(path);
            file.index = FcPatternGetInteger(match, FC_INDEX, 0, &index) == FcResultMatch ? index : 0;
            found = true;
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return found;
}

FaceFile pinned_face(FcConfig* config, bool monospace, bool bold, bool italic) {
    FaceFile file;
    bool ignored = false;
    if (!monospace && match_family(config, SUBSTITUTE_FAMILY, bold ? 700 : 400, italic, file, ignored)) return file;
    if (match_family(config, monospace ? MONO_FAMILY : SANS_FAMILY, bold ? 700 : 400, italic, file, ignored)) {
        return file;
    }
    file.path = DEJAVU_DIRECTORY;
    file.path += monospace ? "DejaVuSansMono" : "DejaVuSans";
    if (bold || italic) file.path += "-";
    if (bold) file.path += "Bold";
    if (italic) file.path += "Oblique";
    file.path += ".ttf";
    return file;
}

FaceFile resolve_face_file(FontSystem& system, const FontRequest& request) {
    const std::string family(request.face, face_length(request));
    const bool bold = request.weight >= BOLD_WEIGHT;
    FaceFile file;
    bool monospace = false;
    if (match_family(system.config, family, request.weight, request.italic, file, monospace)) return file;
    return pinned_face(system.config, monospace, bold, request.italic);
}

void set_fallback_metrics(SizedFace& sized) {
    const int em = sized.em_height;
    TextMetrics& m = sized.metrics;
    m.ascent = std::max(1, (em * 4 + 2) / 5);
    m.descent = std::max(0, em - m.ascent);
    m.height = m.ascent + m.descent;
    m.average_char_width = std::max(1, em / 2);
    m.max_char_width = m.average_char_width;
    sized.underline_top = m.descent > 1 ? 1 : 0;
    sized.strike_out_top = -std::max(1, em / 3);
}

void set_face_metrics(SizedFace& sized) {
    FT_Face face = sized.face;
    const FT_Size_Metrics& size = face->size->metrics;
    TextMetrics& m = sized.metrics;
    m.ascent = std::max(1, ceil_26_6(size.ascender));
    m.descent = std::max(0, ceil_26_6(-size.descender));
    m.height = m.ascent + m.descent;
    m.internal_leading = std::max(0, m.height - sized.em_height);
    m.external_leading = std::max(0, round_26_6(size.height) - m.height);
    m.max_char_width = std::max(1, ceil_26_6(size.max_advance));
    const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
    if (os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0) {
        m.average_char_width = round_26_6(FT_MulFix(os2->xAvgCharWidth, size.x_scale));
    }
    if (m.average_char_width <= 0) m.average_char_width = std::max(1, m.max_char_width / 2);

    int underline_center = std::max(1, m.descent / 2);
    int underline_thickness = 1;
    if (FT_IS_SCALABLE(face) && face->underline_thickness > 0) {
        underline_center = round_26_6(FT_MulFix(-face->underline_position, size.y_scale));
        underline_thickness = std::max(1, round_26_6(FT_MulFix(face->underline_thickness, size.y_scale)));
    }
    sized.underline_thickness = std::min(underline_thickness, std::max(1, m.descent));
    sized.underline_top = std::clamp(underline_center - sized.underline_thickness / 2, 0,
                                     std::max(0, m.descent - sized.underline_thickness));

    int strike_top = -std::max(1, sized.em_height * 3 / 10);
    int strike_thickness = sized.underline_thickness;
    if (os2 && os2->version != 0xFFFF && os2->yStrikeoutSize > 0) {
        strike_top = -round_26_6(FT_MulFix(os2->yStrikeoutPosition, size.y_scale));
        strike_thickness = std::max(1, round_26_6(FT_MulFix(os2->yStrikeoutSize, size.y_scale)));
    }
    sized.strike_out_top = std::clamp(strike_top, -m.ascent, -1);
    sized.strike_out_thickness = std::min(strike_thickness, -sized.strike_out_top);
}

std::unique_ptr<SizedFace> open_sized_face(FT_Library library, const FaceFile& file, int em_height, bool bold,
                                           bool italic) {
    auto sized = std::make_unique<SizedFace>();
    sized->file = file;
    sized->em_height = em_height;
    sized->bold = bold;
    sized->italic = italic;
    if (library && FT_New_Face(library, file.path.c_str(), file.index, &sized->face) == 0) {
        if (FT_Set_Pixel_Sizes(sized->face, 0, static_cast<FT_UInt>(em_height)) != 0) {
            FT_Done_Face(sized->face);
            sized->face = nullptr;
        }
    } else {
        sized->face = nullptr;
    }
    if (!sized->face) {
        set_fallback_metrics(*sized);
        return sized;
    }
    sized->synthetic_bold = bold && !(sized->face->style_flags & FT_STYLE_FLAG_BOLD);
    sized->synthetic_italic = italic && !(sized->face->style_flags & FT_STYLE_FLAG_ITALIC);
    set_face_metrics(*sized);
    return sized;
}

bool bitmap_pixel_set(const FT_Bitmap& bitmap, const unsigned char* row, unsigned int column) {
    if (bitmap.pixel_mode == FT_PIXEL_MODE_MONO) return (row[column / 8] >> (7 - column % 8)) & 1;
    if (bitmap.pixel_mode == FT_PIXEL_MODE_GRAY) return row[column] >= 128;
    return false;
}

void add_spans(SizedFace& sized, Glyph& glyph, const FT_GlyphSlot slot) {
    const FT_Bitmap& bitmap = slot->bitmap;
    if (!bitmap.buffer || bitmap.rows == 0 || bitmap.width == 0) return;
    if (bitmap.pixel_mode != FT_PIXEL_MODE_MONO && bitmap.pixel_mode != FT_PIXEL_MODE_GRAY) return;
    const int pitch = bitmap.pitch;
    const unsigned int stride = static_cast<unsigned int>(pitch < 0 ? -pitch : pitch);
    glyph.first_span = static_cast<std::uint32_t>(sized.spans.size());
    glyph.left = INT_MAX;
    glyph.right = INT_MIN;
    for (unsigned int y = 0; y < bitmap.rows; ++y) {
        const unsigned int memory_row = pitch >= 0 ? y : bitmap.rows - 1 - y;
        const unsigned char* row = bitmap.buffer + static_cast<std::size_t>(memory_row) * stride;
        const int dy = static_cast<int>(y) - slot->bitmap_top;
        unsigned int x = 0;
        while (x < bitmap.width) {
            while (x < bitmap.width && !bitmap_pixel_set(bitmap, row, x)) ++x;
            if (x == bitmap.width) break;
            const unsigned int start = x;
            while (x < bitmap.width && bitmap_pixel_set(bitmap, row, x)) ++x;
            const Span span{dy, slot->bitmap_left + static_cast<int>(start), slot->bitmap_left + static_cast<int>(x)};
            sized.spans.push_back(span);
            glyph.left = std::min(glyph.left, span.x0);
            glyph.right = std::max(glyph.right, span.x1);
        }
    }
    glyph.span_count = static_cast<std::uint32_t>(sized.spans.size()) - glyph.first_span;
    if (glyph.span_count == 0) {
        glyph.left = glyph.right = 0;
        return;
    }
    glyph.top = sized.spans[glyph.first_span].dy;
    glyph.bottom = sized.spans.back().dy + 1;
}

const Glyph& glyph_of(SizedFace& sized, unsigned char code) {
    Glyph& glyph = sized.glyphs[code];
    if (glyph.loaded) return glyph;
    glyph.loaded = true;
    glyph.advance = sized.metrics.average_char_width;
    FT_Face face = sized.face;
    if (!face) return glyph;
    const std::uint32_t character = unicode_of(code);
    const FT_UInt index = character ? FT_Get_Char_Index(face, character) : 0;
    if (FT_Load_Glyph(face, index, FT_LOAD_TARGET_MONO) != 0) return glyph;
    FT_GlyphSlot slot = face->glyph;
    if (slot->format == FT_GLYPH_FORMAT_OUTLINE) {
        if (sized.synthetic_italic) FT_GlyphSlot_Oblique(slot);
        if (sized.synthetic_bold) FT_GlyphSlot_Embolden(slot);
    }
    glyph.advance = std::clamp(round_26_6(slot->advance.x), 0, MAX_ADVANCE);
    if (slot->format != FT_GLYPH_FORMAT_BITMAP && FT_Render_Glyph(slot, FT_RENDER_MODE_MONO) != 0) return glyph;
    add_spans(sized, glyph, slot);
    return glyph;
}

SizedFace* find_sized_face(FontSystem& system, const FaceFile& file, int em_height, bool bold, bool italic) {
    for (const auto& sized : system.faces) {
        if (sized->em_height == em_height && sized->bold == bold && sized->italic == italic &&
            sized->file.index == file.index && sized->file.path == file.path) {
            return sized.get();
        }
    }
    system.faces.push_back(open_sized_face(system.library, file, em_height, bold, italic));
    return system.faces.back().get();
}

const FontInstance* resolve(FontSystem& system, const FontRequest& request) {
    const bool bold = request.weight >= BOLD_WEIGHT;
    SizedFace* sized =
        find_sized_face(system, resolve_face_file(system, request), request.height, bold, request.italic);
    for (const auto& instance : system.instances) {
        if (instance->face == sized && instance->underline == request.underline &&
            instance->strike_out == request.strike_out) {
            return instance.get();
        }
    }
    auto instance = std::make_unique<FontInstance>();
    instance->face = sized;
    instance->underline = request.underline;
    instance->strike_out = request.strike_out;
    system.instances.push_back(std::move(instance));
    return system.instances.back().get();
}

const FontInstance* usable(const FontInstance* font) { return font ? font : find_font(FontRequest{}); }

std::int64_t run_width(SizedFace& sized, const unsigned char* text, int length) {
    std::int64_t width = 0;
    for (int i = 0; i < length; ++i) width += glyph_of(sized, text[i]).advance;
    return width;
}

void draw_glyph(const PixelTarget& target, const Clip& clip, const SizedFace& sized, const Glyph& glyph,
                std::int64_t pen, std::int64_t baseline, Pixel pixel) {
    if (glyph.span_count == 0) return;
    if (pen + glyph.right <= clip.left || pen + glyph.left >= clip.right || baseline + glyph.bottom <= clip.top ||
        baseline + glyph.top >= clip.bottom) {
        return;
    }
    const Span* span = sized.spans.data() + glyph.first_span;
    const Span* end = span + glyph.span_count;
    if (pen + glyph.left >= clip.left && pen + glyph.right <= clip.right && baseline + glyph.top >= clip.top &&
        baseline + glyph.bottom <= clip.bottom) {
        // Wholly inside, as nearly every glyph is: no clipping per run.
        Pixel* origin = target.pixels + baseline * target.stride + pen;
        if (detail::span_observer) {
            for (; span != end; ++span) {
                Pixel* run = origin + span->dy * target.stride + span->x0;
                detail::observe_span(run, span->x1 - span->x0, pixel);
                fill_row(run, span->x1 - span->x0, pixel);
            }
            return;
        }
        // Runs of a few pixels: plain stores cost less than a call each.
        for (; span != end; ++span) {
            Pixel* run = origin + span->dy * target.stride + span->x0;
            for (std::int32_t i = 0, count = span->x1 - span->x0; i < count; ++i) run[i] = pixel;
        }
        return;
    }
    for (; span != end; ++span) fill_span(target, clip, baseline + span->dy, pen + span->x0, pen + span->x1 - 1, pixel);
}

void copy_face_name(FontRequest& request, const char* name) {
    const std::size_t length = std::min(std::strlen(name), sizeof request.face);
    std::memcpy(request.face, name, length);
}

}  // namespace

const FontInstance* find_font(const FontRequest& request) {
    FontSystem& system = font_system();
    const FontRequest key = normalized(request);
    for (const RecentRequest& recent : system.recent) {
        if (recent.font && same_request(recent.request, key)) return recent.font;
    }
    const FontInstance* font = resolve(system, key);
    system.recent[static_cast<std::size_t>(system.next_recent)] = RecentRequest{key, font};
    system.next_recent = (system.next_recent + 1) % RECENT_REQUEST_COUNT;
    return font;
}

FontRequest system_font_request() {
    FontRequest request;
    request.height = SYSTEM_EM_HEIGHT;
    copy_face_name(request, SANS_FAMILY);
    return request;
}

FontRequest fixed_font_request() {
    FontRequest request;
    request.height = FIXED_EM_HEIGHT;
    copy_face_name(request, MONO_FAMILY);
    return request;
}

TextMetrics text_metrics(const FontInstance* font) { return usable(font)->face->metrics; }

Size text_extent(const FontInstance* font, const char* text, int length) {
    SizedFace& sized = *usable(font)->face;
    std::int64_t width = 0;
    if (text && length > 0) width = run_width(sized, reinterpret_cast<const unsigned char*>(text), length);
    return Size{static_cast<int>(std::min<std::int64_t>(width, INT_MAX)), sized.metrics.height};
}

void draw_text(const PixelTarget& target, const FontInstance* font, std::int64_t x, std::int64_t y, const char* text,
               int length, Pixel text_pixel, bool opaque, Pixel background_pixel) {
    const Clip clip = clip_of(target);
    if (clip.empty()) return;
    if (x < -COORDINATE_LIMIT || x > COORDINATE_LIMIT || y < -COORDINATE_LIMIT || y > COORDINATE_LIMIT) return;
    const FontInstance& instance = *usable(font);
    SizedFace& sized = *instance.face;
    if (!text || length < 0) length = 0;
    const auto* bytes = reinterpret_cast<const unsigned char*>(text);
    const std::int64_t baseline = y + sized.metrics.ascent;

    const bool decorated = instance.underline || instance.strike_out;
    const std::int64_t width = opaque || decorated ? run_width(sized, bytes, length) : 0;
    if (opaque) fill_clipped(target, clip, x, y, x + width, y + sized.metrics.height, background_pixel);

    std::int64_t pen = x;
    for (int i = 0; i < length; ++i) {
        const Glyph& glyph = glyph_of(sized, bytes[i]);
        draw_glyph(target, clip, sized, glyph, pen, baseline, text_pixel);
        pen += glyph.advance;
    }

    if (instance.underline) {
        const std::int64_t top = baseline + sized.underline_top;
        fill_clipped(target, clip, x, top, x + width, top + sized.underline_thickness, text_pixel);
    }
    if (instance.strike_out) {
        const std::int64_t top = baseline + sized.strike_out_top;
        fill_clipped(target, clip, x, top, x + width, top + sized.strike_out_thickness, text_pixel);
    }
}

}  // namespace platform
