#pragma once
// The few web pages the client opens in the browser, as plain HTML.
#include <string>
#include <string_view>

#include "Service.h"

namespace kivtal::service {

std::string HtmlEscape(std::string_view text);

std::string HomePage();
// The registration form, with `message` above it when not empty.
std::string RegisterPage(std::string_view message);
// Handles the registration form's POST body; the page to show.
std::string Register(Service& service, std::string_view formBody);
std::string PasswordPage();
std::string AccountPage(std::string_view title, std::string_view clientId);
std::string AboutPage();

}  // namespace kivtal::service
