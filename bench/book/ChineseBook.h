#pragma once
// The benchmarks' book: contacts with Chinese names (1,440 different ones, pinyin
// filled in, about one in a hundred under "#"), a company, a mobile, an e-mail and one
// bank account each, spread over 20 groups; and the same people as vCard cards.
#include <string>

#include "model/Records.h"
#include "store/LocalStore.h"

namespace kivtal::bench {

inline constexpr int kBookGroups = 20;

// Contact i of the book, in the group firstGroupId + i % kBookGroups.
BusinessCard BookContact(int i, int firstGroupId);

// Adds the 20 groups ("组0".."组19") and `count` contacts to the store's user
// database, the contacts in one transaction. False when a write failed.
bool FillBook(LocalStore& store, int count);

// Contact i as one vCard 3.0 card, as a phone writes it (CRLF lines), with its group
// as CATEGORIES and its bank account as X-KIVTAL-BANK.
std::string BookCard(int i);

}  // namespace kivtal::bench
