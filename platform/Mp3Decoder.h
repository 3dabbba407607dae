#pragma once

#include <cstdint>
#include <string>

struct mpg123_handle_struct;

// Decodes an MP3 file into interleaved signed 16-bit frames at the file's own rate.
class TMp3Decoder
{
public:
    TMp3Decoder();
    ~TMp3Decoder();
    TMp3Decoder(const TMp3Decoder &) = delete;
    TMp3Decoder &operator=(const TMp3Decoder &) = delete;

    // Opens the file and decodes its first frame, then goes back to its start. False, with
    // nothing open and the decoder's reason in error, when the file cannot be read or holds no
    // frame that decodes.
    bool Open(const std::string &fileName, int &error);
    void Close();
    bool IsOpen() const { return Opened; }
    int Rate() const { return SampleRate; }
    int Channels() const { return ChannelCount; }

    // Decodes up to count frames; 0 at the end of the stream, negative when decoding fails.
    long Read(int16_t *frames, long count);
    // Frames of the whole stream, negative when the decoder cannot tell.
    int64_t Length();
    bool Seek(int64_t frame);

    // The decoder's text for an error code of Open.
    static std::string ErrorText(int error);

private:
    void CloseFd();

    mpg123_handle_struct *Handle = nullptr;
    // The file is opened here, so that a FIFO or a device is refused before the decoder reads.
    int Fd = -1;
    bool Opened = false;
    int SampleRate = 0;
    int ChannelCount = 0;
};
