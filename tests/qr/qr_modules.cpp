// Prints the QR code of an address as rows of '#' (dark) and '.' (light), using Debian's QR
// code library through the lesson's own target: built for the desktop, and for the browser
// with Qt for WebAssembly (run under Node.js), so that the two can be compared.
#include <cstdio>

#include <qrcodegen.hpp>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: qr_modules ADDRESS\n");
        return 2;
    }
    const auto code = qrcodegen::QrCode::encodeText(argv[1], qrcodegen::QrCode::Ecc::MEDIUM);
    for (int y = 0; y < code.getSize(); ++y) {
        for (int x = 0; x < code.getSize(); ++x)
            std::putchar(code.getModule(x, y) ? '#' : '.');
        std::putchar('\n');
    }
    return 0;
}
