#pragma once
// A book of records described by name in a JSON data file (service/demo/demo_book.json):
// the change batch that gives an account its contacts, groups and matters, and the news
// and advertisements that go with it.
//
// Each section is a list of objects whose members are the record's field names; a
// record's own local id field (bc_id, event_id, …) is its key, and a child names its
// parent by the parent's local id field, so the feed maps both to server ids as it does
// for a device's batch. A number field written as the text "D HH:MM" is a Beijing
// wall-clock time D days from today (D may be negative).
#include <ctime>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "ChangeList.h"
#include "Content.h"

namespace kivtal::service {

struct Book {
    std::vector<Change> changes;  // parents before their children
    std::vector<NewsItem> news;   // a picture news item names an embedded file
    std::vector<Advert> ads;      // the picture names an embedded file
};

// nullopt, with the reason in `error`, for a file that is not such a book.
std::optional<Book> ReadBook(std::string_view json, std::time_t now, std::string& error);

// "D HH:MM" as seconds since 1970; nullopt when the text is not of that form.
std::optional<std::int64_t> RelativeBeijingTime(std::string_view text, std::time_t now);

}  // namespace kivtal::service
