#include "cards/CardShapes.h"

#include <algorithm>
#include <regex>
#include <span>

#include "cards/CardText.h"
#include "text/TextConv.h"

namespace kivtal::cards {
namespace {

// The most common Chinese surnames, which make a short line a likelier name.
constexpr std::u16string_view kSurnames =
    u"王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶程苏魏吕丁任沈姚卢姜崔钟"
    u"谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝龚邵万钱严覃武戴莫孔向汤常温康施文牛樊葛邢"
    u"安齐易乔伍庞颜倪庄聂章鲁岳翟殷詹申欧耿关兰焦俞左柳甘祝包宁尚符舒阮柯纪梅童凌毕单季裴霍涂成苗谷盛曲翁冉骆蓝路"
    u"游辛靳管柴蒙鲍华喻祁蒲房滕屈饶解牟艾尤阳时穆农司卓古吉缪简车项连芦麦褚娄窦戚岑景党宫费卜冷晏席卫米柏宗瞿桂全"
    u"佟应臧闵苟邬边卞姬师和仇栾隋商刁沙荣巫寇桑郎甄丛仲虞敖巩明佘池查麻苑迟邝";

constexpr std::string_view kCompanyEndsCjk[] = {"有限公司", "有限责任公司", "公司", "集团", "工作室", "事务所",
                                                "研究院",   "研究所",       "银行", "商行", "中心",   "分公司"};
constexpr std::string_view kCompanyWordsLatin[] = {"co., ltd", "co.,ltd", "co. ltd", "co ltd", " ltd",     " inc",
                                                   " corp",    " group",  " studio", " llc",   " limited", " company"};
constexpr std::string_view kPositionWords[] = {
    "总经理",   "副总经理",   "经理",       "总监",           "主管",       "工程师",     "董事长",
    "董事",     "总裁",       "主任",       "设计师",         "顾问",       "助理",       "专员",
    "秘书",     "会计",       "律师",       "教授",           "院长",       "所长",       "部长",
    "总编",     "主编",       "首席",       "代表",           "合伙人",     "CEO",        "CTO",
    "CFO",      "COO",        "Manager",    "Director",       "Engineer",   "President",  "Chairman",
    "Designer", "Supervisor", "Consultant", "Assistant",      "Officer",    "Partner",    "Founder",
    "Lead",     "Head of",    "Sales",      "Representative", "Specialist", "Accountant", "Lawyer",
    "Professor"};
constexpr std::string_view kTitleModifiers[] = {"高级", "资深", "首席", "副",   "总",   "执行", "销售", "市场", "技术",
                                                "财务", "项目", "客户", "行政", "人事", "产品", "研发", "区域"};
constexpr std::string_view kAddressWordsCjk[] = {"省", "市", "区",   "县", "路", "街",
                                                 "道", "号", "大厦", "楼", "室", "镇"};
constexpr std::string_view kAddressWordsLatin[] = {" road", " street", " avenue", " drive", " rd",       " st.",
                                                   " blvd", " lane",   " floor",  " room",  " building", " district"};

// The engine's readings of a thin l standing first after a colon: \ ] [ | !.
std::string UndoEmailSlips(std::string text) {
    for (std::size_t i = 0; i < text.size(); ++i) {
        const bool first = i == 0 || text[i - 1] == ':';
        if (first && std::string_view("\\][|!").find(text[i]) != std::string_view::npos) text[i] = 'l';
    }
    return text;
}

// Endings the engine misreads, and what cards print.
constexpr std::pair<std::string_view, std::string_view> kTopLevelSlips[] = {
    {".en", ".cn"}, {".corn", ".com"}, {".c0m", ".com"}, {".corn.cn", ".com.cn"}};

bool Matches(std::string_view text, const std::regex& re, std::smatch& m) {
    static thread_local std::string held;
    held.assign(text);
    return std::regex_search(held, m, re);
}

std::string DropCountryCode(std::string digits) {
    if (digits.starts_with("+86")) return digits.substr(3);
    if (digits.starts_with("0086")) return digits.substr(4);
    if (digits.starts_with("+")) return digits.substr(1);
    return digits;
}

bool EndsWithAny(std::string_view text, std::span<const std::string_view> ends) {
    for (std::string_view e : ends)
        if (text.ends_with(e)) return true;
    return false;
}

}  // namespace

std::optional<std::string> MobileNumber(std::string_view text) {
    std::string digits = DropCountryCode(NumberDigits(text));
    if (digits.size() == 13 && digits.starts_with("86")) digits = digits.substr(2);
    if (digits.size() != 11 || digits[0] != '1' || digits[1] < '3') return std::nullopt;
    return digits;
}

std::optional<std::string> Landline(std::string_view text) {
    std::string digits = DropCountryCode(NumberDigits(text));
    if (!digits.starts_with("0") && (digits.size() == 9 || digits.size() == 10 || digits.size() == 11))
        digits = "0" + digits;  // +86 21 ... drops the trunk 0
    if (!digits.starts_with("0") || digits.size() < 10 || digits.size() > 12) return std::nullopt;
    const std::size_t area = (digits[1] == '1' || digits[1] == '2') ? 3 : 4;
    const std::size_t rest = digits.size() - area;
    if (rest < 7 || rest > 8) return std::nullopt;
    return digits.substr(0, area) + "-" + digits.substr(area);
}

std::optional<std::string> QqNumber(std::string_view text) {
    const std::string digits = NumberDigits(text);
    if (digits.size() < 5 || digits.size() > 11 || digits[0] == '0' || digits[0] == '+') return std::nullopt;
    return digits;
}

std::optional<std::string> EmailAddress(std::string_view text) {
    static const std::regex re(R"([A-Za-z0-9._%+\-]+@[A-Za-z0-9\-]+(\.[A-Za-z0-9\-]+)*\.[A-Za-z]{2,})");
    std::string compact;
    for (char c : text)
        if (c != ' ') compact += c;
    std::smatch m;
    if (!Matches(UndoEmailSlips(compact), re, m)) return std::nullopt;
    // A local part starts with a letter or digit: marks before it are a label's colon.
    std::string address = m.str().substr(std::min(m.str().find_first_not_of("._%+-"), m.str().size()));
    // Addresses are printed in lower case: a capital I in one is the engine's l.
    if (std::none_of(address.begin(), address.end(), [](char c) { return c >= 'A' && c <= 'Z' && c != 'I'; }))
        std::replace(address.begin(), address.end(), 'I', 'l');
    address = AsciiLower(address);
    for (const auto& [slip, meant] : kTopLevelSlips)
        if (address.ends_with(slip)) address = address.substr(0, address.size() - slip.size()) + std::string(meant);
    return address;
}

std::optional<std::string> WebAddress(std::string_view text, bool labelled) {
    static const std::regex www(R"((https?://)?(www\.[A-Za-z0-9\-]+(\.[A-Za-z0-9\-]+)*\.[A-Za-z]{2,})(/\S*)?)",
                                std::regex::icase);
    static const std::regex host(R"((https?://)?([A-Za-z0-9\-]+(\.[A-Za-z0-9\-]+)*\.[A-Za-z]{2,})(/\S*)?)");
    std::smatch m;
    if (text.find('@') != std::string_view::npos) return std::nullopt;
    if (Matches(text, www, m) || (labelled && Matches(text, host, m))) return AsciiLower(m[2].str());
    return std::nullopt;
}

int CompanyScore(std::string_view text) {
    if (EndsWithAny(text, kCompanyEndsCjk)) return 90;
    const std::string lower = " " + AsciiLower(text);
    for (std::string_view w : kCompanyWordsLatin)
        if (lower.find(w) != std::string::npos) return CountCjk(text) > 0 ? 70 : 85;
    for (std::string_view e : kCompanyEndsCjk)
        if (text.find(e) != std::string_view::npos) return 60;  // a branch or department after the name
    return 0;
}

std::size_t PositionWordAt(std::string_view text) {
    std::size_t best = std::string_view::npos;
    const std::string lower = AsciiLower(text);
    for (std::string_view w : kPositionWords) {
        const std::size_t at = lower.find(AsciiLower(w));
        if (at != std::string::npos && at < best) best = at;
    }
    // Take in the words a title starts with ("高级工程师", "销售总监").
    for (bool moved = true; moved && best != std::string_view::npos;) {
        moved = false;
        for (std::string_view m : kTitleModifiers) {
            if (best >= m.size() && text.substr(best - m.size(), m.size()) == m) {
                best -= m.size();
                moved = true;
                break;
            }
        }
    }
    return best;
}

bool HasPositionWord(std::string_view text) { return PositionWordAt(text) != std::string_view::npos; }

int AddressScore(std::string_view text) {
    int hits = 0;
    for (std::string_view w : kAddressWordsCjk) hits += text.find(w) != std::string_view::npos ? 1 : 0;
    const std::string lower = " " + AsciiLower(text);
    for (std::string_view w : kAddressWordsLatin) hits += lower.find(w) != std::string::npos ? 1 : 0;
    if (hits == 0 || CountChars(text) < 6) return 0;
    return std::min(85, 35 + 15 * hits + (HasDigit(text) ? 10 : 0));
}

bool IsCommonSurname(char16_t c) { return kSurnames.find(c) != std::u16string_view::npos; }

int NameShapeScore(std::string_view text) {
    const std::u16string wide = Utf8ToWide(text);
    const int cjk = CountCjk(text);
    if (cjk == static_cast<int>(wide.size())) {
        if (cjk < 2 || cjk > 4) return 0;
        // A region or department before a title ("华东区", "市场部") is no name.
        if (std::u16string_view(u"区部处司省市县").find(wide.back()) != std::u16string_view::npos) return 0;
        return IsCommonSurname(wide[0]) ? 90 : 60;
    }
    static const std::regex latin(R"([A-Z][a-zA-Z'\-]+( [A-Z]\.?)?( [A-Z][a-zA-Z'\-]+){1,2})");
    if (cjk == 0 && text.size() <= 32 && std::regex_match(std::string(text), latin)) return 75;
    return 0;
}

}  // namespace kivtal::cards
