#!/usr/bin/python3
"""Renders business-card pictures from generated contacts, degraded as a scanner would.

    render-cards.py OUT_DIR [--count N] [--seed S] [--extras]

Writes OUT_DIR/card-NNN.jpg (or .png) and OUT_DIR/card-NNN.json beside it: the ground
truth under the field names `kivtal-cli contacts show --json` prints, plus "layout" and
"degrade" describing how the picture was made. The same seed gives the same set, so the
benchmark's figures compare across runs. --extras adds the pictures a reader must turn
down or turn round: blank.png, prose.png (a page of text with nothing a card carries)
and upside-down.jpg (card-000 turned half round). Needs Pillow and the Noto CJK and DejaVu fonts.
"""
import argparse
import json
import math
import os
import random

from PIL import Image, ImageDraw, ImageFilter, ImageFont

NOTO = "/usr/share/fonts/opentype/noto/NotoSansCJK-{}.ttc"
NOTO_SERIF = "/usr/share/fonts/opentype/noto/NotoSerifCJK-{}.ttc"
DEJAVU = "/usr/share/fonts/truetype/dejavu/DejaVu{}.ttf"
NOTO_SC_INDEX = 2  # the simplified Chinese face inside the collection

SURNAMES = "王李张刘陈杨黄赵吴周徐孙马朱胡郭何高林罗郑梁谢宋唐许韩冯邓曹彭曾肖田董袁潘于蒋蔡余杜叶程苏魏吕丁任沈姚卢姜崔钟谭陆汪范金石廖贾夏韦付方白邹孟熊秦邱江尹薛闫段雷侯龙史陶黎贺顾毛郝龚邵万钱严覃武戴莫孔向汤"
GIVEN = "伟芳娜秀英敏静丽强磊军洋勇艳杰娟涛明超秀兰霞平刚桂英华玉兰萍红建国志强文斌海燕丹宁宇浩晨欣怡佳琪子涵梓轩雨桐思远博文俊杰晓东立新鹏飞"
CITIES = ["北京", "上海", "广州", "深圳", "杭州", "南京", "成都", "武汉", "苏州", "天津", "西安", "重庆", "青岛", "厦门"]
CITY_PINYIN = {"北京": "Beijing", "上海": "Shanghai", "广州": "Guangzhou", "深圳": "Shenzhen", "杭州": "Hangzhou",
               "南京": "Nanjing", "成都": "Chengdu", "武汉": "Wuhan", "苏州": "Suzhou", "天津": "Tianjin",
               "西安": "Xi'an", "重庆": "Chongqing", "青岛": "Qingdao", "厦门": "Xiamen"}
AREA = {"北京": "010", "上海": "021", "广州": "020", "深圳": "0755", "杭州": "0571", "南京": "025", "成都": "028",
        "武汉": "027", "苏州": "0512", "天津": "022", "西安": "029", "重庆": "023", "青岛": "0532", "厦门": "0592"}
WORDS = [("华信", "Huaxin"), ("恒通", "Hengtong"), ("博达", "Boda"), ("瑞丰", "Ruifeng"), ("金鼎", "Jinding"),
         ("远景", "Yuanjing"), ("新宇", "Xinyu"), ("正泰", "Zhengtai"), ("汇智", "Huizhi"), ("天成", "Tiancheng"),
         ("鸿运", "Hongyun"), ("中科", "Zhongke"), ("盛世", "Shengshi"), ("联创", "Lianchuang")]
TRADES = [("科技", "Technology"), ("贸易", "Trading"), ("电子", "Electronics"), ("建筑", "Construction"),
          ("医药", "Pharmaceutical"), ("物流", "Logistics"), ("信息技术", "Information Technology"),
          ("文化传媒", "Media"), ("机械", "Machinery")]
SUFFIXES = [("有限公司", "Co., Ltd."), ("股份有限公司", "Co., Ltd."), ("集团", "Group"), ("工作室", "Studio")]
POSITIONS = [("总经理", "General Manager"), ("销售经理", "Sales Manager"), ("技术总监", "CTO"),
             ("市场总监", "Marketing Director"), ("项目经理", "Project Manager"), ("高级工程师", "Senior Engineer"),
             ("财务主管", "Finance Supervisor"), ("董事长", "Chairman"), ("首席执行官", "CEO"),
             ("客户经理", "Account Manager"), ("设计师", "Designer"), ("副总裁", "Vice President")]
EN_FIRST = ["James", "Mary", "John", "Linda", "Robert", "Susan", "David", "Karen", "Peter", "Emma", "Oliver",
            "Sophia", "Daniel", "Grace", "Henry", "Alice", "Thomas", "Laura", "Kevin", "Nancy"]
EN_LAST = ["Smith", "Brown", "Taylor", "Wilson", "Clark", "Walker", "Hall", "Young", "King", "Wright", "Green",
           "Baker", "Adams", "Nelson", "Carter", "Mitchell", "Turner", "Parker", "Evans", "Collins"]
EN_COMPANY = ["Northwind", "Bluepeak", "Silverline", "Greenfield", "Redstone", "Brightway", "Oakridge", "Clearwater"]
EN_COMPANY_SUFFIX = ["Inc.", "Co., Ltd.", "Ltd.", "Group"]
STREETS = ["中山路", "人民路", "解放路", "建设路", "长江路", "科技园路", "南京东路", "天府大道"]
DISTRICTS = ["朝阳区", "浦东新区", "天河区", "南山区", "西湖区", "鼓楼区", "高新区", "江汉区"]
EN_STREETS = ["Main Street", "Park Avenue", "Harbour Road", "Hill Road", "Lake View Drive"]
MOBILE_PREFIX = ["130", "131", "135", "136", "137", "138", "139", "150", "151", "158", "159", "166", "177", "186",
                 "188", "189", "199"]


def font(kind, size, bold=False):
    weight = "Bold" if bold else "Regular"
    if kind == "sans":
        return ImageFont.truetype(NOTO.format(weight), size, index=NOTO_SC_INDEX)
    if kind == "serif":
        return ImageFont.truetype(NOTO_SERIF.format(weight), size, index=NOTO_SC_INDEX)
    return ImageFont.truetype(DEJAVU.format("Sans-Bold" if bold else "Sans"), size)


def mobile(rng):
    return rng.choice(MOBILE_PREFIX) + "".join(rng.choice("0123456789") for _ in range(8))


def spaced_mobile(rng, number):
    return rng.choice([number, number[:3] + " " + number[3:7] + " " + number[7:], number[:3] + "-" + number[3:7] +
                       "-" + number[7:]])


def landline(rng, city):
    digits = 8 if len(AREA[city]) == 3 else rng.choice([7, 8])
    first = rng.choice("2345678")
    return AREA[city] + "-" + first + "".join(rng.choice("0123456789") for _ in range(digits - 1))


def chinese_person(rng, with_english):
    city = rng.choice(CITIES)
    word, word_en = rng.choice(WORDS)
    trade, trade_en = rng.choice(TRADES)
    suffix, suffix_en = rng.choice(SUFFIXES)
    position, position_en = rng.choice(POSITIONS)
    name = rng.choice(SURNAMES) + "".join(rng.choice(GIVEN) for _ in range(rng.choice([1, 2])))
    handle = "".join(rng.choice("abcdefghijklmnopqrstuvwxyz") for _ in range(rng.randint(3, 7)))
    domain = word_en.lower() + rng.choice(["", "tech", "group", "corp"])
    tld = rng.choice([".com", ".cn", ".com.cn", ".net"])
    phone = landline(rng, city)
    fax = AREA[city] + "-" + phone.split("-")[1][:-2] + "%02d" % rng.randint(10, 99) if rng.random() < 0.6 else ""
    truth = {
        "name": name,
        "company": city + word + trade + suffix,
        "position": position,
        "mobile": mobile(rng),
        "office_phone": phone,
        "fax": fax,
        "email": handle + "@" + domain + tld,
        "web_site": ("www." + domain + tld) if rng.random() < 0.6 else "",
        "qq": str(rng.randint(10000000, 2999999999)) if rng.random() < 0.4 else "",
        "company_address": city + "市" + rng.choice(DISTRICTS) + rng.choice(STREETS) + "%d号" % rng.randint(1, 999),
    }
    english = {"company": "%s %s %s %s" % (CITY_PINYIN[city], word_en, trade_en, suffix_en),
               "position": position_en} if with_english else None
    return truth, english


def english_person(rng):
    first, last = rng.choice(EN_FIRST), rng.choice(EN_LAST)
    company = rng.choice(EN_COMPANY)
    domain = company.lower()
    tld = rng.choice([".com", ".net", ".com.cn"])
    city = rng.choice(CITIES)
    return {
        "name": first + " " + last,
        "company": company + " " + rng.choice(TRADES)[1] + " " + rng.choice(EN_COMPANY_SUFFIX),
        "position": rng.choice(POSITIONS)[1],
        "mobile": mobile(rng),
        "office_phone": landline(rng, city),
        "fax": "",
        "email": first.lower() + "." + last.lower() + "@" + domain + tld,
        "web_site": "www." + domain + tld,
        "qq": "",
        "company_address": "%d %s, %s" % (rng.randint(1, 300), rng.choice(EN_STREETS), CITY_PINYIN[city]),
    }, None


def contact_lines(rng, t, style):
    """The small-print lines with their labels, in the card's language style."""
    lines = []
    zh = {"mobile": ["手机：", "手机 ", "M："], "office_phone": ["电话：", "电话 ", "Tel："], "fax": ["传真：", "传真 "],
          "email": ["邮箱：", "E-mail：", "Email："], "web_site": ["网址：", "Web："], "qq": ["QQ："],
          "company_address": ["地址：", "地址 "]}
    en = {"mobile": ["Mobile: ", "M: ", "Cell: "], "office_phone": ["Tel: ", "T: ", "Phone: "], "fax": ["Fax: "],
          "email": ["E-mail: ", "Email: ", ""], "web_site": ["Web: ", ""], "qq": ["QQ: "],
          "company_address": ["Add: ", "Address: "]}
    labels = zh if style != "en" else en
    for key in ["mobile", "office_phone", "fax", "email", "web_site", "qq", "company_address"]:
        value = t[key]
        if not value:
            continue
        if key == "mobile":
            value = spaced_mobile(rng, value)
        if key == "mobile" and style == "zh" and rng.random() < 0.3:
            value = "+86 " + value
        lines.append(rng.choice(labels[key]) + value)
    return lines


def draw_card(rng, truth, english, style, portrait, scale):
    w, h = (54, 90) if portrait else (90, 54)
    px = lambda mm: int(round(mm * scale))  # noqa: E731
    card = Image.new("RGB", (px(w), px(h)), rng.choice(["#ffffff", "#fbfaf5", "#f4f6f8"]))
    d = ImageDraw.Draw(card)
    accent = rng.choice(["#1f5fa8", "#a82b1f", "#2b7a3d", "#444444", "#7a4aa0"])
    kind = "dejavu" if style == "en" else rng.choice(["sans", "sans", "serif"])
    margin = px(6)
    y = margin
    if rng.random() < 0.7:
        d.rectangle([0, 0, px(w), px(1.6)], fill=accent)
    company_font = font(kind, px(3.4), bold=True)
    d.text((margin, y), truth["company"], font=company_font, fill=accent)
    y += px(4.6)
    if english:
        d.text((margin, y), english["company"], font=font("dejavu", px(2.3)), fill="#555555")
        y += px(3.6)
    y += px(4 if portrait else 2.5)
    name_font = font(kind, px(rng.uniform(6.0, 7.5)), bold=rng.random() < 0.5)
    d.text((margin, y), truth["name"], font=name_font, fill="#111111")
    name_box = d.textbbox((margin, y), truth["name"], font=name_font)
    title_font = font(kind, px(3.0))
    if portrait or rng.random() < 0.5:
        y = name_box[3] + px(2)
        d.text((margin, y), truth["position"], font=title_font, fill="#333333")
        y += px(4)
    else:
        d.text((name_box[2] + px(4), name_box[3] - px(3.6)), truth["position"], font=title_font, fill="#333333")
        y = name_box[3] + px(2)
    if english:
        d.text((margin, y), english["position"], font=font("dejavu", px(2.4)), fill="#555555")
        y += px(3.4)
    lines = contact_lines(rng, truth, style)
    y += px(2)
    step = min(px(3.8), (px(h) - px(3) - y) // len(lines))
    small = font(kind, min(px(2.6), int(step * 0.72)))
    y = max(y, px(h) - margin - step * len(lines))
    for line in lines:
        d.text((margin, y), line, font=small, fill="#222222")
        y += step
    return card


def degrade(rng, card, dpi):
    steps = []
    angle = rng.uniform(-4, 4)
    border = int(card.width * 0.06)
    page = Image.new("RGB", (card.width + 2 * border, card.height + 2 * border), "#d9d9d6")
    page.paste(card, (border, border))
    page = page.rotate(angle, resample=Image.BICUBIC, expand=False, fillcolor="#d9d9d6")
    steps.append("rotate %.1f" % angle)
    if rng.random() < 0.5:
        radius = rng.uniform(0.4, 1.0) * (dpi / 300)
        page = page.filter(ImageFilter.GaussianBlur(radius))
        steps.append("blur %.2f" % radius)
    if rng.random() < 0.6:
        strength = rng.uniform(0.15, 0.35)
        shade = Image.linear_gradient("L").rotate(rng.choice([0, 90, 180, 270])).resize(page.size)
        dark = Image.new("RGB", page.size, "#000000")
        mask = shade.point(lambda v: int(v * strength))
        page = Image.composite(dark, page, mask)
        steps.append("light %.2f" % strength)
    return page, steps


def make_card(rng, index, out_dir):
    layout = ["zh", "zh", "bilingual", "en", "zh-portrait"][index % 5]
    style = "en" if layout == "en" else "zh"
    if layout == "en":
        truth, english = english_person(rng)
    else:
        truth, english = chinese_person(rng, with_english=layout == "bilingual")
    dpi = 300 if index % 2 == 0 else 150
    card = draw_card(rng, truth, english, style, layout == "zh-portrait", dpi / 25.4)
    picture, steps = degrade(rng, card, dpi)
    stem = os.path.join(out_dir, "card-%03d" % index)
    as_jpeg = index % 3 != 1
    path = stem + (".jpg" if as_jpeg else ".png")
    if as_jpeg:
        picture.save(path + ".tmp", "JPEG", quality=70, dpi=(dpi, dpi))
        steps.append("jpeg 70")
    else:
        picture.save(path + ".tmp", "PNG", dpi=(dpi, dpi))
    os.replace(path + ".tmp", path)
    record = dict(truth, image=os.path.basename(path), layout=layout, dpi=dpi, degrade=steps)
    with open(stem + ".json.tmp", "w", encoding="utf-8") as f:
        json.dump(record, f, ensure_ascii=False, indent=1)
    os.replace(stem + ".json.tmp", stem + ".json")


def make_extras(out_dir):
    blank = Image.new("RGB", (1000, 600), "#f2f1ec")
    blank.save(os.path.join(out_dir, "blank.png"))
    prose = Image.new("RGB", (1200, 800), "#ffffff")
    d = ImageDraw.Draw(prose)
    text = ["The river bends twice before it reaches the old mill,", "where the water slows and the fish rest",
            "in the shade of the willows all summer long.", "春天来了，河边的柳树发出了新芽，", "孩子们在草地上放风筝。"]
    for i, line in enumerate(text):
        d.text((60, 80 + i * 110), line, font=font("sans", 44), fill="#222222")
    prose.save(os.path.join(out_dir, "prose.png"))
    card = Image.open(os.path.join(out_dir, "card-000.jpg"))
    card.rotate(180).save(os.path.join(out_dir, "upside-down.jpg"), "JPEG", quality=90)


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("out_dir")
    parser.add_argument("--count", type=int, default=60)
    parser.add_argument("--seed", type=int, default=27)
    parser.add_argument("--extras", action="store_true")
    args = parser.parse_args()
    os.makedirs(args.out_dir, exist_ok=True)
    rng = random.Random(args.seed)
    for index in range(args.count):
        make_card(rng, index, args.out_dir)
    if args.extras:
        make_extras(args.out_dir)


if __name__ == "__main__":
    main()
