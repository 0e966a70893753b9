// KestrelTrustRoot: makes Windows trust a certificate authority for the
// current user, so that the end-to-end tests' loopback server can speak TLS
// with a certificate issued by an authority made at test time.
//
//   KestrelTrustRoot CERTIFICATE.der
//
// Adds the DER-encoded certificate to the user's "ROOT" store (replacing an
// equal one). Exit code 0 when it is there, 1 when the store refused it, 2
// for a usage error or an unreadable file. On Windows the system asks the
// user to confirm; under Wine it does not. A test tool: never part of
// Kestrel.exe.
#include <windows.h>
#include <wincrypt.h>

#include <cstdio>
#include <vector>

int main(int argc, char **argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: KestrelTrustRoot CERTIFICATE.der\n");
        return 2;
    }
    std::FILE *file = std::fopen(argv[1], "rb");
    if (!file) {
        std::fprintf(stderr, "cannot open %s\n", argv[1]);
        return 2;
    }
    std::vector<unsigned char> der;
    unsigned char block[4096];
    for (std::size_t count; (count = std::fread(block, 1, sizeof block, file)) > 0;)
        der.insert(der.end(), block, block + count);
    std::fclose(file);

    HCERTSTORE store = CertOpenStore(CERT_STORE_PROV_SYSTEM_A, 0, 0, CERT_SYSTEM_STORE_CURRENT_USER, "ROOT");
    if (!store) {
        std::fprintf(stderr, "cannot open the user's ROOT store (error %lu)\n", GetLastError());
        return 1;
    }
    BOOL added = CertAddEncodedCertificateToStore(store, X509_ASN_ENCODING, der.data(),
                                                  static_cast<DWORD>(der.size()), CERT_STORE_ADD_REPLACE_EXISTING,
                                                  nullptr);
    DWORD error = added ? 0 : GetLastError();
    CertCloseStore(store, 0);
    if (!added) {
        std::fprintf(stderr, "the ROOT store refused the certificate (error %lu)\n", error);
        return 1;
    }
    return 0;
}
