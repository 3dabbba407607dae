#pragma once

#include <QEvent>
#include <cstdint>
#include <string>

class QObject;

// The asynchronous MP3 player's C-like interface. A player runs one thread of its own that takes
// commands from a queue in the order they were sent, decodes MP3 and writes it to the sound
// device (a paced null sink where no device opens, so a machine without sound still plays every
// sound to its end, silently; an Error notification then tells why no device opened). Everything it
// has to say arrives later as a TXaNotifyEvent posted to the object named at player_new, in the
// order it was said.

using XA_Player = struct TXaPlayer;

// Answers of the calls and error codes of the refusals.
enum : int {
    XA_SUCCESS = 0,
    XA_FAILURE = -1,
    XA_ERROR_INVALID_PARAMETERS = -2,
    XA_ERROR_NOT_SUPPORTED = -3,
    XA_ERROR_NO_INPUT = -4,
    XA_ERROR_OPEN_FAILED = -5,
    XA_ERROR_DECODE_FAILED = -6,
    XA_ERROR_NO_OUTPUT = -7,
};

// Command codes, as the acknowledgements name them; 56 and 57 are unused.
enum : uint8_t {
    XA_MSG_COMMAND_EXIT = 1,
    XA_MSG_COMMAND_PING = 2,
    XA_MSG_COMMAND_PLAY = 3,
    XA_MSG_COMMAND_PAUSE = 4,
    XA_MSG_COMMAND_STOP = 5,
    XA_MSG_COMMAND_INPUT_SEEK = 6,
    XA_MSG_COMMAND_INPUT_OPEN = 7,
    XA_MSG_COMMAND_INPUT_CLOSE = 8,
    XA_MSG_COMMAND_INPUT_SEND_MESSAGE = 9,
    XA_MSG_COMMAND_INPUT_ADD_FILTER = 10,
    XA_MSG_COMMAND_INPUT_REMOVE_FILTER = 11,
    XA_MSG_COMMAND_INPUT_FILTER_LIST = 12,
    XA_MSG_COMMAND_INPUT_MODULE_REGISTER = 13,
    XA_MSG_COMMAND_INPUT_MODULE_QUERY = 14,
    XA_MSG_COMMAND_INPUT_MODULES_LIST = 15,
    XA_MSG_COMMAND_OUTPUT_OPEN = 16,
    XA_MSG_COMMAND_OUTPUT_CLOSE = 17,
    XA_MSG_COMMAND_OUTPUT_SEND_MESSAGE = 18,
    XA_MSG_COMMAND_OUTPUT_MUTE = 19,
    XA_MSG_COMMAND_OUTPUT_UNMUTE = 20,
    XA_MSG_COMMAND_OUTPUT_RESET = 21,
    XA_MSG_COMMAND_OUTPUT_DRAIN = 22,
    XA_MSG_COMMAND_OUTPUT_ADD_FILTER = 23,
    XA_MSG_COMMAND_OUTPUT_REMOVE_FILTER = 24,
    XA_MSG_COMMAND_OUTPUT_FILTER_LIST = 25,
    XA_MSG_COMMAND_OUTPUT_MODULE_REGISTER = 26,
    XA_MSG_COMMAND_OUTPUT_MODULE_QUERY = 27,
    XA_MSG_COMMAND_OUTPUT_MODULES_LIST = 28,
    XA_MSG_COMMAND_SET_PLAYER_MODE = 29,
    XA_MSG_COMMAND_GET_PLAYER_MODE = 30,
    XA_MSG_COMMAND_SET_PLAYER_ENVIRONMENT_INTEGER = 31,
    XA_MSG_COMMAND_GET_PLAYER_ENVIRONMENT_INTEGER = 32,
    XA_MSG_COMMAND_SET_PLAYER_ENVIRONMENT_STRING = 33,
    XA_MSG_COMMAND_GET_PLAYER_ENVIRONMENT_STRING = 34,
    XA_MSG_COMMAND_UNSET_PLAYER_ENVIRONMENT = 35,
    XA_MSG_COMMAND_SET_INPUT_NAME = 36,
    XA_MSG_COMMAND_GET_INPUT_NAME = 37,
    XA_MSG_COMMAND_SET_INPUT_MODULE = 38,
    XA_MSG_COMMAND_GET_INPUT_MODULE = 39,
    XA_MSG_COMMAND_SET_INPUT_POSITION_RANGE = 40,
    XA_MSG_COMMAND_GET_INPUT_POSITION_RANGE = 41,
    XA_MSG_COMMAND_SET_INPUT_TIMECODE_GRANULARITY = 42,
    XA_MSG_COMMAND_GET_INPUT_TIMECODE_GRANULARITY = 43,
    XA_MSG_COMMAND_SET_OUTPUT_NAME = 44,
    XA_MSG_COMMAND_GET_OUTPUT_NAME = 45,
    XA_MSG_COMMAND_SET_OUTPUT_MODULE = 46,
    XA_MSG_COMMAND_GET_OUTPUT_MODULE = 47,
    XA_MSG_COMMAND_SET_OUTPUT_VOLUME = 48,
    XA_MSG_COMMAND_GET_OUTPUT_VOLUME = 49,
    XA_MSG_COMMAND_SET_OUTPUT_CHANNELS = 50,
    XA_MSG_COMMAND_GET_OUTPUT_CHANNELS = 51,
    XA_MSG_COMMAND_SET_OUTPUT_PORTS = 52,
    XA_MSG_COMMAND_GET_OUTPUT_PORTS = 53,
    XA_MSG_COMMAND_SET_CODEC_QUALITY = 54,
    XA_MSG_COMMAND_GET_CODEC_QUALITY = 55,
    XA_MSG_COMMAND_SET_CODEC_EQUALIZER = 58,
    XA_MSG_COMMAND_GET_CODEC_EQUALIZER = 59,
    XA_MSG_COMMAND_SET_NOTIFICATION_MASK = 60,
    XA_MSG_COMMAND_GET_NOTIFICATION_MASK = 61,
    XA_MSG_COMMAND_SET_DEBUG_LEVEL = 62,
    XA_MSG_COMMAND_GET_DEBUG_LEVEL = 63,
};

// Notification codes: 64 to 106, 95 unused.
enum : uint8_t {
    XA_MSG_NOTIFY_READY = 64,
    XA_MSG_NOTIFY_ACK = 65,
    XA_MSG_NOTIFY_NACK = 66,
    XA_MSG_NOTIFY_PONG = 67,
    XA_MSG_NOTIFY_EXITED = 68,
    XA_MSG_NOTIFY_PLAYER_STATE = 69,
    XA_MSG_NOTIFY_UNUSED = 95,
    XA_MSG_NOTIFY_ERROR = 106,
    XA_MSG_NOTIFY_LAST = 106,
};

enum : int {
    XA_PLAYER_STATE_STOPPED = 0,
    XA_PLAYER_STATE_PLAYING = 1,
    XA_PLAYER_STATE_PAUSED = 2,
    XA_PLAYER_STATE_EOS = 3,
};

inline constexpr int XA_API_MAJOR = 3;
inline constexpr int XA_API_MINOR = 2;
inline constexpr int XA_PLAYER_DEFAULT_PRIORITY = 0;

// One notification. Which fields count depends on the code: Ack the command, Nack the command
// and the error, Pong the tag, PlayerState and Exited the state, Error the error (its event
// carries the device's name and the system's reason besides).
struct XA_Message
{
    uint8_t code = 0;
    uint8_t command = 0;
    int16_t error = 0;
    uint32_t tag = 0;
    int state = 0;
};

class TXaNotifyEvent : public QEvent
{
public:
    explicit TXaNotifyEvent(const XA_Message &message, std::string device = {},
                            std::string reason = {});
    static Type EventType();

    const XA_Message Message;
    // Error: the device that did not open and why.
    const std::string Device;
    const std::string Reason;
};

// The asynchronous interface's version, (major << 16) | (minor << 8).
uint32_t xaudio_get_api_version(int interface);
// Makes xaudio_get_api_version answer version instead; 0 restores the real answer.
void SetXaudioApiVersion(uint32_t version);
const char *xaudio_error_string(int code);

// XA_SUCCESS and a running player, or an error and *player null.
int player_new(XA_Player **player, QObject *target);
// Stops the player's thread at once, also in the middle of a playback.
int player_delete(XA_Player *player);
int player_get_priority(XA_Player *player);
int player_set_priority(XA_Player *player, int priority);

// Each queues one command with its arguments; XA_SUCCESS once queued.
int control_message_send_N(XA_Player *player, uint8_t command);
int control_message_send_I(XA_Player *player, uint8_t command, uint32_t value);
int control_message_send_II(XA_Player *player, uint8_t command, uint32_t first, uint32_t second);
int control_message_send_III(XA_Player *player, uint8_t command, uint32_t first, uint32_t second,
                             uint32_t third);
int control_message_send_S(XA_Player *player, uint8_t command, const char *text);
int control_message_send_SI(XA_Player *player, uint8_t command, const char *text, uint32_t value);
int control_message_send_SS(XA_Player *player, uint8_t command, const char *first,
                            const char *second);
int control_message_send_P(XA_Player *player, uint8_t command, const void *data);
int control_message_send_IPI(XA_Player *player, uint8_t command, uint32_t type, const void *data,
                             uint32_t size);
