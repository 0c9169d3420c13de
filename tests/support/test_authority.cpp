#include "support/test_authority.h"

#include <openssl/evp.h>
#include <openssl/pem.h>
#include <openssl/x509.h>
#include <openssl/x509v3.h>

#include <atomic>
#include <stdexcept>

namespace gl::test {
namespace {

std::atomic<long> nextSerial{1};

void Check(bool done, const char* what) {
  if (!done) throw std::runtime_error(std::string("test certificate: ") + what);
}

EVP_PKEY* NewKey() {
  EVP_PKEY* key = EVP_EC_gen("P-256");
  Check(key != nullptr, "no key");
  return key;
}

// A certificate for `key` named `commonName`, issued by `issuer` (itself when there is none) and
// signed by `issuerKey`, with the one extension that matters: CA or the names it serves.
X509* NewCertificate(EVP_PKEY* key, const std::string& commonName, int firstDay, int lastDay,
                     X509* issuer, EVP_PKEY* issuerKey, int nid, const std::string& value) {
  constexpr long kDay = 24 * 60 * 60;
  X509* certificate = X509_new();
  Check(certificate != nullptr, "no certificate");
  X509_set_version(certificate, X509_VERSION_3);
  ASN1_INTEGER_set(X509_get_serialNumber(certificate), nextSerial++);
  X509_gmtime_adj(X509_getm_notBefore(certificate), firstDay * kDay);
  X509_gmtime_adj(X509_getm_notAfter(certificate), lastDay * kDay);
  X509_set_pubkey(certificate, key);
  X509_NAME* name = X509_get_subject_name(certificate);
  X509_NAME_add_entry_by_txt(name, "CN", MBSTRING_ASC,
                             reinterpret_cast<const unsigned char*>(commonName.c_str()), -1, -1, 0);
  if (issuer == nullptr) issuer = certificate;
  X509_set_issuer_name(certificate, X509_get_subject_name(issuer));
  X509V3_CTX context;
  X509V3_set_ctx(&context, issuer, certificate, nullptr, nullptr, 0);
  X509_EXTENSION* extension = X509V3_EXT_conf_nid(nullptr, &context, nid, value.c_str());
  Check(extension != nullptr && X509_add_ext(certificate, extension, -1) == 1, "extension");
  X509_EXTENSION_free(extension);
  Check(X509_sign(certificate, issuerKey, EVP_sha256()) > 0, "signing");
  return certificate;
}

template <typename Write>
std::string Pem(Write write) {
  BIO* memory = BIO_new(BIO_s_mem());
  Check(memory != nullptr && write(memory) == 1, "PEM");
  char* data = nullptr;
  const long size = BIO_get_mem_data(memory, &data);
  std::string pem(data, static_cast<std::size_t>(size));
  BIO_free(memory);
  return pem;
}

}  // namespace

TestAuthority::TestAuthority()
    : key_(NewKey(), EVP_PKEY_free),
      certificate_(
          NewCertificate(key_.get(), "Gleaner-Light Test Authority " + std::to_string(nextSerial),
                         -1, 30, nullptr, key_.get(), NID_basic_constraints, "critical,CA:TRUE"),
          X509_free) {}

ServerIdentity TestAuthority::Issue(const std::vector<std::string>& names, int firstDay,
                                    int lastDay) const {
  std::string alternatives;  // ",DNS:host" for a name, ",IP:127.0.0.1" for an address
  for (const std::string& name : names)
    alternatives += (name.find_first_not_of("0123456789.") == name.npos ? ",IP:" : ",DNS:") + name;
  EVP_PKEY* key = NewKey();
  X509* certificate = NewCertificate(key, names.front(), firstDay, lastDay, certificate_.get(),
                                     key_.get(), NID_subject_alt_name, alternatives.substr(1));
  ServerIdentity identity{
      Pem([certificate](BIO* out) { return PEM_write_bio_X509(out, certificate); }),
      Pem([key](BIO* out) {
        return PEM_write_bio_PrivateKey(out, key, nullptr, nullptr, 0, nullptr, nullptr);
      })};
  X509_free(certificate);
  EVP_PKEY_free(key);
  return identity;
}

TrustedAuthority::TrustedAuthority()
    : certificateFile_("SSL_CERT_FILE", (folder_ / "authority.pem").string()) {
  WriteFileBytes(folder_ / "authority.pem",
                 Pem([this](BIO* out) { return PEM_write_bio_X509(out, certificate_.get()); }));
}

}  // namespace gl::test
