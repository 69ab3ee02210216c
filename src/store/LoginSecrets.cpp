#include "store/LoginSecrets.h"

#include <cstdlib>

#ifdef KIVTAL_HAVE_LIBSECRET
#include <libsecret/secret.h>
#endif

namespace kivtal {

#ifdef KIVTAL_HAVE_LIBSECRET

namespace {

const SecretSchema* Schema() {
    static const SecretSchema schema = {"org.kivtal.RememberedLogin",
                                        SECRET_SCHEMA_NONE,
                                        {{"data_dir", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {"login_name", SECRET_SCHEMA_ATTRIBUTE_STRING},
                                         {nullptr, SECRET_SCHEMA_ATTRIBUTE_STRING}},
                                        0,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr,
                                        nullptr};
    return &schema;
}

// Without a session bus GDBus would try to autolaunch one, which can hang a CLI run
// or a test; no bus simply means no secret service.
bool BusAnnounced() {
    const char* address = std::getenv("DBUS_SESSION_BUS_ADDRESS");
    return address != nullptr && *address != '\0';
}

// Owns the GError a libsecret call may set.
struct CallError {
    GError* error = nullptr;
    ~CallError() {
        if (error != nullptr) g_error_free(error);
    }
};

}  // namespace

bool LoginSecrets::Built() { return true; }

LoginSecrets::Status LoginSecrets::Store(const std::string& loginName, const std::string& digest) {
    if (!BusAnnounced()) return Status::Unavailable;
    CallError e;
    const gboolean ok = secret_password_store_sync(Schema(), SECRET_COLLECTION_DEFAULT, "kivtal remembered login",
                                                   digest.c_str(), nullptr, &e.error, "data_dir", dataDir_.c_str(),
                                                   "login_name", loginName.c_str(), nullptr);
    return ok && e.error == nullptr ? Status::Done : Status::Unavailable;
}

LoginSecrets::Status LoginSecrets::Lookup(const std::string& loginName, std::string& digest) {
    if (!BusAnnounced()) return Status::Unavailable;
    CallError e;
    gchar* found = secret_password_lookup_sync(Schema(), nullptr, &e.error, "data_dir", dataDir_.c_str(), "login_name",
                                               loginName.c_str(), nullptr);
    if (e.error != nullptr) return Status::Unavailable;
    if (found == nullptr) return Status::NotFound;
    digest = found;
    secret_password_free(found);
    return Status::Done;
}

LoginSecrets::Status LoginSecrets::Forget(const std::string& loginName) {
    if (!BusAnnounced()) return Status::Unavailable;
    CallError e;
    const gboolean removed = secret_password_clear_sync(Schema(), nullptr, &e.error, "data_dir", dataDir_.c_str(),
                                                        "login_name", loginName.c_str(), nullptr);
    if (e.error != nullptr) return Status::Unavailable;
    return removed ? Status::Done : Status::NotFound;
}

#else  // built without the secret-service library: the login database keeps the digest

bool LoginSecrets::Built() { return false; }
LoginSecrets::Status LoginSecrets::Store(const std::string&, const std::string&) { return Status::Unavailable; }
LoginSecrets::Status LoginSecrets::Lookup(const std::string&, std::string&) { return Status::Unavailable; }
LoginSecrets::Status LoginSecrets::Forget(const std::string&) { return Status::Unavailable; }

#endif

}  // namespace kivtal
