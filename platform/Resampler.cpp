#include "platform/Resampler.h"

#include <cmath>
#include <samplerate.h>

namespace {

int ConverterOf(TResampleFilter filter)
{
    switch (filter) {
    case TResampleFilter::Best:
        return SRC_SINC_BEST_QUALITY;
    case TResampleFilter::Fast:
        return SRC_SINC_FASTEST;
    case TResampleFilter::Medium:
        break;
    }
    return SRC_SINC_MEDIUM_QUALITY;
}

} // namespace

bool ResampleMono16(const std::vector<int16_t> &in, double ratio, std::vector<int16_t> &out,
                    TResampleFilter filter)
{
    out.clear();
    if (src_is_valid_ratio(ratio) == 0)
        return false;
    if (in.empty())
        return true;
    std::vector<float> input(in.size());
    src_short_to_float_array(in.data(), input.data(), static_cast<int>(in.size()));
    std::vector<float> output(static_cast<size_t>(std::ceil(static_cast<double>(in.size()) * ratio))
                              + 1);
    SRC_DATA data{};
    data.data_in = input.data();
    data.data_out = output.data();
    data.input_frames = static_cast<long>(input.size());
    data.output_frames = static_cast<long>(output.size());
    data.end_of_input = 1;
    data.src_ratio = ratio;
    if (src_simple(&data, ConverterOf(filter), 1) != 0)
        return false;
    out.resize(static_cast<size_t>(data.output_frames_gen));
    src_float_to_short_array(output.data(), out.data(), static_cast<int>(out.size()));
    return true;
}
