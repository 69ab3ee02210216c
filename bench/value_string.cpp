// Value strings are formatted on every logged edit and parsed for every change the
// service sends down, so a large first sync parses thousands of contacts.
#include <benchmark/benchmark.h>

#include "model/RecordValues.h"

namespace {

kivtal::BusinessCard FilledContact() {
    kivtal::BusinessCard card;
    card.bc_id = 1234;
    card.bc_name = "张三丰";
    card.company_name = "北京某某科技有限公司";
    card.cell_phone = "13800138000";
    card.addr_c_detail = "北京市海淀区中关村大街1号";
    card.mail = "zhang@example.com";
    card.hobby = "围棋[pig]登山[pig]";
    card.relate_contacts = "李四[gx]同事[pig]";
    card.bc_server_id = 987654;
    card.server_group_id = 42;
    return card;
}

void BM_FormatContact(benchmark::State& state) {
    const kivtal::BusinessCard card = FilledContact();
    for (auto _ : state) benchmark::DoNotOptimize(kivtal::FormatValues(card));
}
BENCHMARK(BM_FormatContact);

void BM_ParseContact(benchmark::State& state) {
    const std::string text = kivtal::FormatValues(FilledContact());
    kivtal::BusinessCard card;
    for (auto _ : state) {
        kivtal::ParseValues(text, card);
        benchmark::DoNotOptimize(card);
    }
}
BENCHMARK(BM_ParseContact);

}  // namespace

BENCHMARK_MAIN();
