#pragma once
// Any line speed (14400 and 921600 included) through the kernel's termios2 interface, kept in
// a file of its own because its header cannot meet <termios.h>.

namespace kavro {

// Sets input and output speed of the open terminal; false when the device refuses.
bool SetLinuxBaud(int fd, int baud);
// The output speed in force, 0 when it cannot be read.
int GetLinuxBaud(int fd);

}  // namespace kavro
