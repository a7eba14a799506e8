#include "content/vorbis_writer.h"

#include <vorbis/vorbisenc.h>

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <cstdio>
#include <memory>
#include <stdexcept>

namespace Quorvel::Assets {
namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using File = std::unique_ptr<std::FILE, FileCloser>;

File openForWriting(const std::string& path) {
    File file(std::fopen(path.c_str(), "wb"));
    if (!file) throw std::runtime_error("cannot write " + path);
    return file;
}

void writePage(std::FILE* file, const ogg_page& page) {
    std::fwrite(page.header, 1, page.header_len, file);
    std::fwrite(page.body, 1, page.body_len, file);
}

// Owns the libvorbis/libogg encoder state so that every exit path clears it.
struct Encoder {
    vorbis_info info;
    vorbis_comment comment;
    vorbis_dsp_state dsp;
    vorbis_block block;
    ogg_stream_state stream;

    Encoder(int channels, int sampleRate, float quality) {
        vorbis_info_init(&info);
        if (vorbis_encode_init_vbr(&info, channels, sampleRate, quality) != 0) {
            vorbis_info_clear(&info);
            throw std::runtime_error("vorbis encoder rejected the settings");
        }
        vorbis_comment_init(&comment);
        vorbis_comment_add_tag(&comment, "TITLE", "Taluvine");
        vorbis_comment_add_tag(&comment, "ARTIST", "Quorvel");
        vorbis_analysis_init(&dsp, &info);
        vorbis_block_init(&dsp, &block);
        ogg_stream_init(&stream, 0x51564c31);  // fixed serial: reproducible bytes
    }
    ~Encoder() {
        ogg_stream_clear(&stream);
        vorbis_block_clear(&block);
        vorbis_dsp_clear(&dsp);
        vorbis_comment_clear(&comment);
        vorbis_info_clear(&info);
    }

    void drain(std::FILE* file) {
        ogg_packet packet;
        ogg_page page;
        while (vorbis_analysis_blockout(&dsp, &block) == 1) {
            vorbis_analysis(&block, nullptr);
            vorbis_bitrate_addblock(&block);
            while (vorbis_bitrate_flushpacket(&dsp, &packet)) {
                ogg_stream_packetin(&stream, &packet);
                while (ogg_stream_pageout(&stream, &page)) writePage(file, page);
            }
        }
    }
};

}  // namespace

void writeOggVorbis(const std::string& path, const std::vector<std::vector<float>>& channels, int sampleRate,
                    float quality) {
    if (channels.empty()) throw std::runtime_error("no channels to encode");
    const size_t frames = channels[0].size();
    for (const auto& c : channels)
        if (c.size() != frames) throw std::runtime_error("channel lengths differ");
    File file = openForWriting(path);
    Encoder enc(static_cast<int>(channels.size()), sampleRate, quality);

    ogg_packet header, headerComment, headerCode;
    vorbis_analysis_headerout(&enc.dsp, &enc.comment, &header, &headerComment, &headerCode);
    ogg_stream_packetin(&enc.stream, &header);
    ogg_stream_packetin(&enc.stream, &headerComment);
    ogg_stream_packetin(&enc.stream, &headerCode);
    ogg_page page;
    while (ogg_stream_flush(&enc.stream, &page)) writePage(file.get(), page);

    const size_t chunk = 4096;
    for (size_t pos = 0; pos < frames; pos += chunk) {
        const size_t n = std::min(chunk, frames - pos);
        float** buffer = vorbis_analysis_buffer(&enc.dsp, static_cast<int>(n));
        for (size_t c = 0; c < channels.size(); ++c)
            std::copy(channels[c].begin() + pos, channels[c].begin() + pos + n, buffer[c]);
        vorbis_analysis_wrote(&enc.dsp, static_cast<int>(n));
        enc.drain(file.get());
    }
    vorbis_analysis_wrote(&enc.dsp, 0);  // end of stream
    enc.drain(file.get());
    while (ogg_stream_flush(&enc.stream, &page)) writePage(file.get(), page);
    if (std::ferror(file.get())) throw std::runtime_error("write error on " + path);
}

void writeWav(const std::string& path, const std::vector<float>& left, const std::vector<float>& right,
              int sampleRate) {
    if (left.size() != right.size()) throw std::runtime_error("channel lengths differ");
    File file = openForWriting(path);
    auto put32 = [&](std::uint32_t v) {
        const unsigned char b[4] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8),
                                    static_cast<unsigned char>(v >> 16), static_cast<unsigned char>(v >> 24)};
        std::fwrite(b, 1, 4, file.get());
    };
    auto put16 = [&](std::uint16_t v) {
        const unsigned char b[2] = {static_cast<unsigned char>(v), static_cast<unsigned char>(v >> 8)};
        std::fwrite(b, 1, 2, file.get());
    };
    const std::uint32_t dataBytes = static_cast<std::uint32_t>(left.size() * 4);
    std::fwrite("RIFF", 1, 4, file.get());
    put32(36 + dataBytes);
    std::fwrite("WAVEfmt ", 1, 8, file.get());
    put32(16);
    put16(1);  // PCM
    put16(2);
    put32(static_cast<std::uint32_t>(sampleRate));
    put32(static_cast<std::uint32_t>(sampleRate) * 4);
    put16(4);
    put16(16);
    std::fwrite("data", 1, 4, file.get());
    put32(dataBytes);
    auto toPcm = [](float s) {
        const float clamped = std::max(-1.0f, std::min(1.0f, s));
        return static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lrint(clamped * 32767.0f)));
    };
    for (size_t i = 0; i < left.size(); ++i) {
        put16(toPcm(left[i]));
        put16(toPcm(right[i]));
    }
    if (std::ferror(file.get())) throw std::runtime_error("write error on " + path);
}

}  // namespace Quorvel::Assets
