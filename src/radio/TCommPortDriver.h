#pragma once

#include <chrono>
#include <cstddef>
#include <cstdint>
#include <functional>
#include <span>
#include <vector>

#include "platform/Clock.h"
#include "radio/ComPortPaths.h"
#include "radio/SerialPortProbe.h"

namespace ondivo {

enum class TComPortNumber : uint8_t {
  pnCOM1,
  pnCOM2,
  pnCOM3,
  pnCOM4,
  pnCOM5,
  pnCOM6,
  pnCOM7,
  pnCOM8,
  pnCOM9,
  pnCOM10,
  pnCOM11,
  pnCOM12,
  pnCOM13,
  pnCOM14,
  pnCOM15,
  pnCOM16,
};
using enum TComPortNumber;

enum class TComPortBaudRate : uint8_t {
  br110,
  br300,
  br600,
  br1200,
  br2400,
  br4800,
  br9600,
  br14400,
  br19200,
  br38400,
  br56000,
  br57600,
  br115200,
};
using enum TComPortBaudRate;

enum class TComPortDataBits : uint8_t { db5BITS, db6BITS, db7BITS, db8BITS };
using enum TComPortDataBits;

enum class TComPortStopBits : uint8_t { sb1BITS, sb1HALFBITS, sb2BITS };
using enum TComPortStopBits;

enum class TComPortParity : uint8_t { ptNONE, ptODD, ptEVEN, ptMARK, ptSPACE };
using enum TComPortParity;

enum class TComPortHwHandshaking : uint8_t { hhNONE, hhNONERTSON, hhRTSCTS };
using enum TComPortHwHandshaking;

enum class TComPortSwHandshaking : uint8_t { shNONE, shXONXOFF };
using enum TComPortSwHandshaking;

enum class TPacketMode : uint8_t { pmDiscard, pmPass };
using enum TPacketMode;

// Bits per second of each TComPortBaudRate value.
uint32_t BaudRateValue(TComPortBaudRate rate);

// Received bytes outside a read: (data). Packets: (packet, size).
using TComPortReceiveDataEvent = std::function<void(std::span<const uint8_t> data)>;
using TComPortReceivePacketEvent = std::function<void(std::span<const uint8_t> packet)>;

// One serial port on termios. COMn is opened through the path ComPortPaths gives for n. Reads
// and writes never throw; they wait with poll() up to their time-outs and return short counts.
// Every time-out is measured on the clock given here (it must outlive the driver).
class TCommPortDriver {
 public:
  explicit TCommPortDriver(ComPortPaths paths = {},
                           const MonotonicClock& clock = SystemSteadyClock());
  ~TCommPortDriver();
  TCommPortDriver(const TCommPortDriver&) = delete;
  TCommPortDriver& operator=(const TCommPortDriver&) = delete;

  // Published properties; the line settings are applied at once while open.
  TComPortNumber ComPort() const { return comPort_; }
  void SetComPort(TComPortNumber port);
  TComPortBaudRate ComPortSpeed() const { return speed_; }
  void SetComPortSpeed(TComPortBaudRate value) { SetLineSetting(speed_, value); }
  TComPortDataBits ComPortDataBits() const { return dataBits_; }
  void SetComPortDataBits(TComPortDataBits value) { SetLineSetting(dataBits_, value); }
  TComPortStopBits ComPortStopBits() const { return stopBits_; }
  void SetComPortStopBits(TComPortStopBits value) { SetLineSetting(stopBits_, value); }
  TComPortParity ComPortParity() const { return parity_; }
  void SetComPortParity(TComPortParity value) { SetLineSetting(parity_, value); }
  TComPortHwHandshaking ComPortHwHandshaking() const { return hwHandshaking_; }
  void SetComPortHwHandshaking(TComPortHwHandshaking value) {
    SetLineSetting(hwHandshaking_, value);
  }
  TComPortSwHandshaking ComPortSwHandshaking() const { return swHandshaking_; }
  void SetComPortSwHandshaking(TComPortSwHandshaking value) {
    SetLineSetting(swHandshaking_, value);
  }
  uint16_t ComPortInBufSize() const { return inBufSize_; }
  void SetComPortInBufSize(uint16_t value) { SetLineSetting(inBufSize_, value); }
  uint16_t ComPortOutBufSize() const { return outBufSize_; }
  void SetComPortOutBufSize(uint16_t value) { SetLineSetting(outBufSize_, value); }
  int16_t PacketSize() const { return packetSize_; }
  void SetPacketSize(int16_t value);
  int32_t PacketTimeout() const { return packetTimeout_; }
  void SetPacketTimeout(int32_t value) { packetTimeout_ = value; }
  TPacketMode PacketMode() const { return packetMode_; }
  void SetPacketMode(TPacketMode value) { packetMode_ = value; }
  uint16_t ComPortPollingDelay() const { return pollingDelay_; }
  void SetComPortPollingDelay(uint16_t value) { pollingDelay_ = value; }
  bool EnableDTROnOpen() const { return enableDTROnOpen_; }
  void SetEnableDTROnOpen(bool value) { SetLineSetting(enableDTROnOpen_, value); }
  uint16_t OutputTimeout() const { return outputTimeout_; }
  void SetOutputTimeout(uint16_t value) { outputTimeout_ = value; }
  int32_t InputTimeout() const { return inputTimeout_; }
  void SetInputTimeout(int32_t value) { inputTimeout_ = value; }
  bool CheckLineStatus() const { return checkLineStatus_; }
  void SetCheckLineStatus(bool value) { checkLineStatus_ = value; }
  TComPortReceiveDataEvent OnReceiveData;
  TComPortReceivePacketEvent OnReceivePacket;

  // Opens the port and applies the settings; true when open (also when it already was).
  bool Connect();
  void Disconnect();
  bool Connected() const { return fd_.Valid(); }
  const MonotonicClock& Clock() const { return clock_; }
  // The device path COMn of ComPort opens.
  std::string DevicePath() const;

  // Writes with OutputTimeout: gives up when no byte went out for that long. Returns the count
  // written.
  size_t SendData(std::span<const uint8_t> data);
  // Waits up to InputTimeout for one byte.
  bool ReadByte(uint8_t& byte);
  void FlushBuffers(bool input, bool output);
  void ToggleDTR(bool on);
  void ToggleRTS(bool on);
  // The modem lines as last driven (ptys cannot report them back).
  bool DTR() const { return dtr_; }
  bool RTS() const { return rts_; }

  // The polling tick: takes every queued byte and hands it to OnReceiveData, or packets to
  // OnReceivePacket, or drops it. Run by the owner's timer every ComPortPollingDelay ms; a write
  // runs it first too, so bytes that came in since the last read never pose as a reply.
  void Poll();

 private:
  // Line settings take effect at once on an open port.
  template <typename T>
  void SetLineSetting(T& field, T value) {
    field = value;
    if (Connected()) ApplySettings();
  }
  void ApplySettings();
  void SetModemLine(int bit, bool on);
  void DeliverPackets(std::span<const uint8_t> data);
  // Milliseconds left until deadline on the clock, rounded up, 0 when passed.
  int MillisecondsUntil(MonotonicClock::time_point deadline) const;

  ComPortPaths paths_;
  const MonotonicClock& clock_;
  SerialDevice fd_;
  TComPortNumber comPort_ = pnCOM2;
  TComPortBaudRate speed_ = br9600;
  TComPortDataBits dataBits_ = db8BITS;
  TComPortStopBits stopBits_ = sb1BITS;
  TComPortParity parity_ = ptNONE;
  TComPortHwHandshaking hwHandshaking_ = hhNONERTSON;
  TComPortSwHandshaking swHandshaking_ = shNONE;
  uint16_t inBufSize_ = 2048;
  uint16_t outBufSize_ = 2048;
  int16_t packetSize_ = -1;
  int32_t packetTimeout_ = -1;
  TPacketMode packetMode_ = pmDiscard;
  uint16_t pollingDelay_ = 50;
  bool enableDTROnOpen_ = true;
  uint16_t outputTimeout_ = 500;
  int32_t inputTimeout_ = 200;
  bool checkLineStatus_ = false;
  bool dtr_ = false;
  bool rts_ = false;
  bool reading_ = false;
  std::vector<uint8_t> packet_;  // a packet being assembled
  MonotonicClock::time_point packetStart_{};
};

}  // namespace ondivo
