#include "Platform/D3DX/detail/JpegDecoder.h"

#include "Platform/D3DX/D3DXDataError.h"

#include <csetjmp>
#include <cstdio>
// jpeglib.h needs size_t and FILE declared before it.
#include <jpeglib.h>

#include <string>

namespace {

// libjpeg-turbo's own tools stop there too (TJFLAG_LIMITSCANS).
constexpr int MaxScans = 500;
// Decoding never needs more than a progressive image of the largest size accepted.
constexpr long MaxMemory = 1024L * 1024 * 1024;

struct Errors {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
    char reason[JMSG_LENGTH_MAX];
};

[[noreturn]] void Fail(j_common_ptr info)
{
    auto* errors = reinterpret_cast<Errors*>(info->err);
    info->err->format_message(info, errors->reason);
    std::longjmp(errors->jump, 1);
}

// Level -1 is a warning about corrupt data, which the library would decode around.
void Message(j_common_ptr info, int level)
{
    if (level < 0)
        Fail(info);
}

[[noreturn]] void Refuse(j_common_ptr info, const char* reason)
{
    auto* errors = reinterpret_cast<Errors*>(info->err);
    std::snprintf(errors->reason, sizeof errors->reason, "%s", reason);
    std::longjmp(errors->jump, 1);
}

void LimitScans(j_common_ptr info)
{
    if (info->is_decompressor && reinterpret_cast<j_decompress_ptr>(info)->input_scan_number > MaxScans) {
        char reason[64];
        std::snprintf(reason, sizeof reason, "more than %d progressive scans", MaxScans);
        Refuse(info, reason);
    }
}

// libjpeg leaves by longjmp on any fault, so nothing here may need a destructor.
bool Decompress(jpeg_decompress_struct& info, Errors& errors, jpeg_progress_mgr& progress, const uint8_t* data,
                size_t size, const ImageHeader& header, CpuImage& image)
{
    if (setjmp(errors.jump))
        return false;
    const auto common = reinterpret_cast<j_common_ptr>(&info);
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = MaxMemory;
    info.progress = &progress;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    if (info.image_width != header.width || info.image_height != header.height)
        Refuse(common, "the image's size changed while decoding");
    info.out_color_space = JCS_EXT_BGRA;
    jpeg_start_decompress(&info);
    if (info.output_width != header.width || info.output_height != header.height || info.output_components != 4)
        Refuse(common, "the rows do not come out as four bytes a texel");
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.Texel(0, info.output_scanline);
        if (jpeg_read_scanlines(&info, &row, 1) != 1)
            Refuse(common, "a row could not be read");
    }
    jpeg_finish_decompress(&info);
    return true;
}

} // namespace

CpuImage DecodeJpeg(const uint8_t* data, size_t size, const ImageHeader& header)
{
    CpuImage image;
    image.width = header.width;
    image.height = header.height;
    image.texels.resize(size_t(image.width) * image.height * CpuImage::BytesPerTexel);

    jpeg_decompress_struct info{};
    Errors errors{};
    info.err = jpeg_std_error(&errors.manager);
    errors.manager.error_exit = Fail;
    errors.manager.emit_message = Message;
    jpeg_progress_mgr progress{};
    progress.progress_monitor = LimitScans;
    const bool decoded = Decompress(info, errors, progress, data, size, header, image);
    jpeg_destroy_decompress(&info);
    if (!decoded)
        throw D3DXDataError(std::string("cannot decode the JPEG image: ") + errors.reason);
    return image;
}
