#include "SerialLine.h"

#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sstream>
#include <termios.h>
#include <unistd.h>
#include <vector>

namespace {

speed_t SpeedConstant(int speed)
{
    switch (speed) {
    case 1200: return B1200;
    case 2400: return B2400;
    case 4800: return B4800;
    case 9600: return B9600;
    case 19200: return B19200;
    case 38400: return B38400;
    case 57600: return B57600;
    case 115200: return B115200;
    default: return B0;
    }
}

bool ApplySettings(termios& t, const std::string& settings)
{
    std::vector<std::string> parts;
    std::istringstream in(settings);
    for (std::string part; std::getline(in, part, ',');)
        parts.push_back(part);
    if (parts.size() != 4 || parts[1].size() != 1)
        return false;
    const speed_t speed = SpeedConstant(std::atoi(parts[0].c_str()));
    const int dataBits = std::atoi(parts[2].c_str());
    const int stopBits = std::atoi(parts[3].c_str());
    const char parity = static_cast<char>(std::tolower(static_cast<unsigned char>(parts[1][0])));
    if (speed == B0 || dataBits < 7 || dataBits > 8 || (stopBits != 1 && stopBits != 2)
        || std::strchr("neo", parity) == nullptr)
        return false;

    cfmakeraw(&t);
    cfsetispeed(&t, speed);
    cfsetospeed(&t, speed);
    t.c_cflag &= ~static_cast<tcflag_t>(CSIZE | PARENB | PARODD | CSTOPB | CRTSCTS);
    t.c_cflag |= CLOCAL | CREAD | (dataBits == 7 ? CS7 : CS8);
    if (parity != 'n')
        t.c_cflag |= PARENB | (parity == 'o' ? PARODD : 0);
    if (stopBits == 2)
        t.c_cflag |= CSTOPB;
    t.c_iflag &= ~static_cast<tcflag_t>(IXON | IXOFF | IXANY);
    t.c_cc[VMIN] = 1;
    t.c_cc[VTIME] = 0;
    return true;
}

} // namespace

int OpenSerialDevice(const std::string& path, const std::string& settings, std::string& error)
{
    const int fd = open(path.c_str(), O_RDWR | O_NOCTTY | O_NONBLOCK | O_CLOEXEC);
    if (fd < 0) {
        error = path + ": " + std::strerror(errno);
        return -1;
    }
    termios t{};
    if (tcgetattr(fd, &t) != 0) {
        error = path + ": " + std::strerror(errno);
        close(fd);
        return -1;
    }
    if (!ApplySettings(t, settings)) {
        error = "bad line settings \"" + settings + "\"";
        close(fd);
        return -1;
    }
    if (tcsetattr(fd, TCSANOW, &t) != 0) {
        error = path + ": " + std::strerror(errno);
        close(fd);
        return -1;
    }
    return fd;
}
