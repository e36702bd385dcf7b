#pragma once
// The one base of every failure the system raises. Components never catch these; the
// application's default handler shows Message in a box and the program goes on.
#include <exception>
#include <string>

class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : Message(std::move(message)) {}
  const char* what() const noexcept override { return Message.c_str(); }
  std::string Message;
};

// Raised for an invalid argument or state of a platform service.
class EInvalidOperation : public Exception {
 public:
  using Exception::Exception;
};
