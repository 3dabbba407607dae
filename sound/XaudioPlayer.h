#pragma once

#include "sound/Xaudio.h"

#include <QObject>
#include <array>
#include <cstdint>
#include <functional>
#include <string>

// The asynchronous MP3 player as its users drive it: every command posts a control message and
// returns the player's answer; the player's acknowledgements, refusals, pongs and state changes
// come back later, on the GUI thread, through the notification events. Playing one file:
//   InputOpen -> Ack 7 -> InputSeek(0, 1), Play -> Ack 3 -> player state 0 or 3 -> OutputDrain,
//   Ping(1) -> Pong 1 -> InputClose -> Ack 8 -> OutputClose -> Ack 17.
class IXaudioPlayer
{
public:
    // Command codes as the acknowledgements name them.
    enum TCommand : uint8_t {
        cmdPing = XA_MSG_COMMAND_PING,
        cmdPlay = XA_MSG_COMMAND_PLAY,
        cmdStop = XA_MSG_COMMAND_STOP,
        cmdInputSeek = XA_MSG_COMMAND_INPUT_SEEK,
        cmdInputOpen = XA_MSG_COMMAND_INPUT_OPEN,
        cmdInputClose = XA_MSG_COMMAND_INPUT_CLOSE,
        cmdOutputClose = XA_MSG_COMMAND_OUTPUT_CLOSE,
        cmdOutputDrain = XA_MSG_COMMAND_OUTPUT_DRAIN,
    };
    // Player states that end a playback.
    static constexpr int StateStopped = XA_PLAYER_STATE_STOPPED;
    static constexpr int StateEndOfStream = XA_PLAYER_STATE_EOS;

    virtual ~IXaudioPlayer() = default;

    virtual int Ping(uint32_t tag) = 0;
    virtual int Play() = 0;
    virtual int Stop() = 0;
    virtual int InputSeek(int offset, int range) = 0;
    virtual int InputOpen(const std::string &fileName) = 0;
    virtual int InputClose() = 0;
    virtual int OutputClose() = 0;
    virtual int OutputDrain() = 0;

    std::function<void(uint8_t command)> OnNotifyAck;
    std::function<void(uint8_t command, int16_t code)> OnNotifyNack;
    std::function<void(uint32_t tag)> OnNotifyPong;
    std::function<void(int state)> OnNotifyPlayerState;
    // The output device did not open (the sound plays on unheard): its name and the reason.
    std::function<void(const std::string &device, const std::string &reason)> OnNotifyError;
};

// The priority both of the program's players run with.
inline constexpr int XaudioPlayerPriority = 4;

// The player component: one player of its own, whose notifications it turns into its events.
// An event left empty is skipped.
class TXaudioPlayer
    : public QObject
    , public IXaudioPlayer
{
public:
    explicit TXaudioPlayer(QObject *owner = nullptr);
    ~TXaudioPlayer() override;

    // Every notification, before its own event.
    std::function<void(XA_Message &message)> OnNotifyMessage;
    // The events of the notifications other than Ack, Nack, Pong and PlayerState, by code
    // (OnNotify(XA_MSG_NOTIFY_READY) ... OnNotify(XA_MSG_NOTIFY_LAST)); 95 has none.
    std::function<void(const XA_Message &message)> &OnNotify(uint8_t code);

    int GetPriority() const;
    void SetPriority(int priority);
    static std::string ErrorString(int code);

    int Ping(uint32_t tag) override;
    int Play() override;
    int Stop() override;
    int InputSeek(int offset, int range) override;
    int InputOpen(const std::string &fileName) override;
    int InputClose() override;
    int OutputClose() override;
    int OutputDrain() override;
    int Exit() { return control_message_send_N(Player, XA_MSG_COMMAND_EXIT); }
    int Pause() { return control_message_send_N(Player, XA_MSG_COMMAND_PAUSE); }
    int InputSendMessage(uint16_t type, const void *data, uint32_t size)
    {
        return control_message_send_IPI(Player, XA_MSG_COMMAND_INPUT_SEND_MESSAGE, type, data,
                                        size);
    }
    int InputAddFilter(const std::string &text, uint32_t value)
    {
        return control_message_send_SI(Player, XA_MSG_COMMAND_INPUT_ADD_FILTER, text.c_str(),
                                       value);
    }
    int InputRemoveFilter(const std::string &text, uint32_t value)
    {
        return control_message_send_SI(Player, XA_MSG_COMMAND_INPUT_REMOVE_FILTER, text.c_str(),
                                       value);
    }
    int InputFilterList()
    {
        return control_message_send_N(Player, XA_MSG_COMMAND_INPUT_FILTER_LIST);
    }
    int InputModuleRegister(const std::string &text)
    {
        return control_message_send_S(Player, XA_MSG_COMMAND_INPUT_MODULE_REGISTER, text.c_str());
    }
    int InputModuleQuery(uint32_t value)
    {
        return control_message_send_I(Player, XA_MSG_COMMAND_INPUT_MODULE_QUERY, value);
    }
    int InputModulesList()
    {
        return control_message_send_N(Player, XA_MSG_COMMAND_INPUT_MODULES_LIST);
    }
    int OutputOpen(const std::string &text)
    {
        return control_message_send_S(Player, XA_MSG_COMMAND_OUTPUT_OPEN, text.c_str());
    }
    int OutputSendMessage(uint16_t type, const void *data, uint32_t size)
    {
        return control_message_send_IPI(Player, XA_MSG_COMMAND_OUTPUT_SEND_MESSAGE, type, data,
                                        size);
    }
    int OutputMute() { return control_message_send_N(Player, XA_MSG_COMMAND_OUTPUT_MUTE); }
    int OutputUnmute() { return control_message_send_N(Player, XA_MSG_COMMAND_OUTPUT_UNMUTE); }
    int OutputReset() { return control_message_send_N(Player, XA_MSG_COMMAND_OUTPUT_RESET); }
    int OutputAddFilter(const std::string &text, uint32_t value)
    {
        return control_message_send_SI(Player, XA_MSG_COMMAND_OUTPUT_ADD_FILTER, text.c_str(),
                                       value);
    }
    int OutputRemoveFilter(const std::string &text, uint32_t value)
    {
        return control_message_send_SI(Player, XA_MSG_COMMAND_OUTPUT_REMOVE_FILTER, text.c_str(),
                                       value);
    }
    int OutputFilterList()
    {
        return control_message_send_N(Player, XA_MSG_COMMAND_OUTPUT_FILTER_LIST);
    }
    int OutputModuleRegister(const std::string &text)
    {
        return control_message_send_S(Player, XA_MSG_COMMAND_OUTPUT_MODULE_REGISTER, text.c_str());
    }
    int OutputModuleQuery(uint32_t value)
    {
        return control_message_send_I(Player, XA_MSG_COMMAND_OUTPUT_MODULE_QUERY, value);
    }
    int OutputModulesList()
    {
        return control_message_send_N(Player, XA_MSG_COMMAND_OUTPUT_MODULES_LIST);
    }
    int SetPlayerMode(uint32_t value)
    {
        return control_message_send_I(Player, XA_MSG_COMMAND_SET_PLAYER_MODE, value);
    }
    int GetPlayerMode() { return control_message_send_N(Player, XA_MSG_COMMAND_GET_PLAYER_MODE); }
    int SetPlayerEnvironmentInteger(const std::string &text, uint32_t value)
    {
        return control_message_send_SI(Player, XA_MSG_COMMAND_SET_PLAYER_ENVIRONMENT_INTEGER,
                                       text.c_str(), value);
    }
    int GetPlayerEnvironmentInteger(const std::string &text)
    {
        return control_message_send_S(Player, XA_MSG_COMMAND_GET_PLAYER_ENVIRONMENT_INTEGER,
                                      text.c_str());
    }
    int SetPlayerEnvironmentString(const std::string &first, const std::string &second)
    {
        return control_message_send_SS(Player, XA_MSG_COMMAND_SET_PLAYER_ENVIRONMENT_STRING,
                                       first.c_str(), second.c_str());
    }
    int GetPlayerEnvironmentString(const std::string &text)
    {
        return control_message_send_S(Player, XA_MSG_COMMAND_GET_PLAYER_ENVIRONMENT_STRING,
                                      text.c_str());
    }
    int UnsetPlayerEnvironment(const std::string &text)
    {
        return control_message_send_S(Player, XA_MSG_COMMAND_UNSET_PLAYER_ENVIRONMENT,
                                      text.c_str());
    }
    int SetInputName(const std::string &text)
    {
        return control_message_send_S(Player, XA_MSG_COMMAND_SET_INPUT_NAME, text.c_str());
    }
    int GetInputName() { return control_message_send_N(Player, XA_MSG_COMMAND_GET_INPUT_NAME); }
    int SetInputModule(uint32_t value)
    {
        return control_message_send_I(Player, XA_MSG_COMMAND_SET_INPUT_MODULE, value);
    }
    int GetInputModule() { return control_message_send_N(Player, XA_MSG_COMMAND_GET_INPUT_MODULE); }
    int SetInputPositionRange(uint32_t value)
    {
        return control_message_send_I(Player, XA_MSG_COMMAND_SET_INPUT_POSITION_RANGE, value);
    }
    int GetInputPositionRange()
    {
        return control_message_send_N(Player, XA_MSG_COMMAND_GET_INPUT_POSITION_RANGE);
    }
    int SetInputTimecodeGranularity(uint32_t value)
    {
        return control_message_send_I(Player, XA_MSG_COMMAND_SET_INPUT_TIMECODE_GRANULARITY, value);
    }
    int GetInputTimecodeGranularity()
    {
        return control_message_send_N(Player, XA_MSG_COMMAND_GET_INPUT_TIMECODE_GRANULARITY);
    }
    int SetOutputName(const std::string &text)
    {
        return control_message_send_S(Player, XA_MSG_COMMAND_SET_OUTPUT_NAME, text.c_str());
    }
    int GetOutputName() { return control_message_send_N(Player, XA_MSG_COMMAND_GET_OUTPUT_NAME); }
    int SetOutputModule(uint32_t value)
    {
        return control_message_send_I(Player, XA_MSG_COMMAND_SET_OUTPUT_MODULE, value);
    }
    int GetOutputModule()
    {
        return control_message_send_N(Player, XA_MSG_COMMAND_GET_OUTPUT_MODULE);
    }
    int SetOutputVolume(uint8_t first, uint8_t second, uint8_t third)
    {
        return control_message_send_III(Player, XA_MSG_COMMAND_SET_OUTPUT_VOLUME, first, second,
                                        third);
    }
    int GetOutputVolume()
    {
        return control_message_send_N(Player, XA_MSG_COMMAND_GET_OUTPUT_VOLUME);
    }
    int SetOutputChannels(uint32_t value)
    {
        return control_message_send_I(Player, XA_MSG_COMMAND_SET_OUTPUT_CHANNELS, value);
    }
    int GetOutputChannels()
    {
        return control_message_send_N(Player, XA_MSG_COMMAND_GET_OUTPUT_CHANNELS);
    }
    int SetOutputPorts(uint32_t value)
    {
        return control_message_send_I(Player, XA_MSG_COMMAND_SET_OUTPUT_PORTS, value);
    }
    int GetOutputPorts() { return control_message_send_N(Player, XA_MSG_COMMAND_GET_OUTPUT_PORTS); }
    int SetCodecQuality(uint32_t value)
    {
        return control_message_send_I(Player, XA_MSG_COMMAND_SET_CODEC_QUALITY, value);
    }
    int GetCodecQuality()
    {
        return control_message_send_N(Player, XA_MSG_COMMAND_GET_CODEC_QUALITY);
    }
    int SetCodecEqualizer(const void *data)
    {
        return control_message_send_P(Player, XA_MSG_COMMAND_SET_CODEC_EQUALIZER, data);
    }
    int GetCodecEqualizer()
    {
        return control_message_send_N(Player, XA_MSG_COMMAND_GET_CODEC_EQUALIZER);
    }
    int SetNotificationMask(uint32_t value)
    {
        return control_message_send_I(Player, XA_MSG_COMMAND_SET_NOTIFICATION_MASK, value);
    }
    int GetNotificationMask()
    {
        return control_message_send_N(Player, XA_MSG_COMMAND_GET_NOTIFICATION_MASK);
    }
    int SetDebugLevel(uint32_t value)
    {
        return control_message_send_I(Player, XA_MSG_COMMAND_SET_DEBUG_LEVEL, value);
    }
    int GetDebugLevel() { return control_message_send_N(Player, XA_MSG_COMMAND_GET_DEBUG_LEVEL); }

protected:
    bool event(QEvent *event) override;

private:
    void Notify(XA_Message message, const std::string &device = {}, const std::string &reason = {});

    XA_Player *Player = nullptr;
    std::array<std::function<void(const XA_Message &)>,
               XA_MSG_NOTIFY_LAST - XA_MSG_NOTIFY_READY + 1>
            Events;
};
