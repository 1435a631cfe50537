#pragma once
// What the device link reports about the keyboard: it came or went, its bank key, a lighting change
// of its own, macro playback. The link only reports; the program decides what each event shows.
namespace vendrel::device {

class ConnectionEvents {
 public:
  virtual ~ConnectionEvents() = default;

  // On the connection worker, after the attach reads; returns once the program has taken it in.
  virtual void Attached() = 0;
  // On the connection worker, when the keyboard went away; returns once the program has taken it in.
  virtual void Detached() = 0;
  // Whether the program can take the connection's outcome; the worker waits until it can.
  virtual bool ReadyForConnection() const = 0;
  // On the connection worker, once ready and the new state is in place.
  virtual void ConnectionSettled(bool connected) = 0;
  // On the connection worker, once it has handled every change reported so far: the state stays
  // as it is until the next notification. What is worth telling the user about a plug or unplug
  // waits for this, since during a storm of them any read may fail half-way.
  virtual void ConnectionQuiet(bool connected) = 0;

  // On the library's callback thread: must return at once and touch no window directly.
  virtual void BankChanged() = 0;
  virtual void LightingChanged() = 0;

  // On an indicator worker, while it holds the indicator busy flag.
  virtual void MacroStarted() = 0;
  virtual void MacroEnded() = 0;
};

}  // namespace vendrel::device
