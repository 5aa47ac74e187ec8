#!/usr/bin/env python3
"""Builds the frequent Ndebele word forms that seed data/wordlist.txt.

The main dictionary answers the common words at once, so that the analyser
only sees the rarer ones. This script writes, from data/dictionary.txt, the
forms that run through everyday text: the closed-class words, the common
tenses of every verb (present, past, perfect, negative, subjunctive, future
in -za- and -zo-, potential, relative, passive), each noun in both numbers
with its associative, instrumental, possessive, copulative and locative
forms, the concord forms of adjective and relative stems, and names of people
and places with the prefixes they most often take. It keeps to forms whose spelling is certain
and leaves the long tail (object concords, compound tenses) to the analyser.

Usage: tools/common_forms.py [data/dictionary.txt] > data/wordlist.txt
"""

import sys
from pathlib import Path

VOWELS = set("aeiou")

SUBJECT = ["ngi", "u", "si", "li", "ba", "i", "zi", "ku", "a", "lu", "bu"]
PAST = ["nga", "wa", "sa", "la", "ba", "ya", "za", "kwa", "a", "lwa"]
NEGATIVE = ["angi", "awu", "asi", "ali", "aba", "ayi", "azi", "aku", "awa", "alu", "abu"]
RELATIVE = ["o", "aba", "esi", "eli", "e", "ezi", "olu", "obu", "oku", "engi", "a"]
POSSESSIVE = ["wa", "ba", "ya", "la", "a", "sa", "za", "lwa", "kwa"]


def join(first, second):
    """A concord joined to a stem, with the vowel and glide rules of the analyser."""
    if not second or second[0] not in VOWELS:
        return first + second
    if first == "u":
        r = "w"
    elif first.endswith("u"):
        r = first[:-1] + "w"
        if r.endswith("bw"):
            r = r[:-1]
        if second.startswith("o") and r.endswith("w"):
            r = r[:-1]
    elif first == "i":
        r = "y"
    elif first[-1:] in VOWELS:
        r = first[:-1]
    else:
        r = first
    if r.endswith("ww"):
        r = r[:-1]
    if second.startswith("o") and r.endswith("w"):
        r = r[:-1]
    return r + second


def relative_join(concord, stem):
    if stem[0] not in VOWELS:
        return concord + stem
    glide = {"o": "ow", "e": "ey", "a": ""}
    if concord in glide:
        return glide[concord] + stem
    return join(concord, stem)


def formative(f, noun):
    """A formative in -a before a noun: la + umuntu gives lomuntu."""
    if f.endswith("a") and noun[:1] in VOWELS:
        coalesced = {"u": "o", "i": "e", "a": "a", "o": "o", "e": "e"}[noun[0]]
        word = f[:-1] + coalesced + noun[1:]
    else:
        word = f + noun
    if "lwo" in word:
        word = word.replace("lwo", "lo", 1)
    elif "kwo" in word:
        word = word.replace("kwo", "ko", 1)
    return word


def palatalise_ending(stem):
    return any(stem.endswith(x) for x in ("b", "m", "p", "ph", "bh", "mb"))


def locative(prefix_tail, stem, final):
    """e- ... -ini, or None when the stem ends in a labial that may palatalise."""
    if final in "ae":
        body = stem + "eni"
    elif final == "i":
        body = stem + "ini"
    elif final in "ou":
        if palatalise_ending(stem):
            return None
        body = stem + ("weni" if final == "o" else "wini")
        body = body.replace("ww", "w", 1)
    else:
        return None
    return "e" + prefix_tail + body


class Forms:
    def __init__(self):
        self.words = set()

    def add(self, *words):
        for w in words:
            if w and " " not in w:
                self.words.add(w)


def last_pos(sub, s):
    """Start of the last non-overlapping occurrence of sub in s, or -1."""
    pos, start = -1, 0
    while True:
        i = s.find(sub, start)
        if i < 0:
            return pos
        pos, start = i, i + len(sub)


def passive_base(stem, final, passives):
    """The passive base and glide of a verb: palatalised labial, or listed in passives.txt."""
    vowels = sum(c in VOWELS for c in stem)
    total = vowels + (final in VOWELS)
    glide = "iw" if total == 1 or (stem[:1] in VOWELS and total == 2) else "w"
    if stem in passives:
        return (passives[stem] or stem), glide
    if not (vowels >= 2 or (vowels >= 1 and stem[0] not in VOWELS)):
        return stem, glide
    p = 1
    while p < len(stem) - 1 and stem[p] not in VOWELS:
        p += 1
    if not any(c in stem[p:] for c in "bmp"):
        return stem, glide
    best = None
    for src, dst in (("b", "tsh"), ("m", "ny"), ("ph", "tsh"), ("bh", "j"), ("mb", "nj")):
        at = last_pos(src, stem)
        if at >= 0:
            best = (src, dst, at)
    src, dst, at = best
    return stem[:at] + dst + stem[at + len(src):], glide


def perfect(stem, final):
    """The perfect stem (hambile, fanele, thandene), or None where it is irregular."""
    word = stem + final
    vowels = sum(c in VOWELS for c in word)
    if word in ("thi", "ya", "za", "ba", "pha", "na", "sa", "hlala"):
        return {"hlala": "hlezi"}.get(word)
    if word == "tsho":
        return "tshilo"
    if word in ("thatha", "phatha", "thathana", "embatha", "mumatha", "qukatha"):
        i = stem.rfind("a")
        return stem[:i] + "e" + stem[i + 1:] + "e"
    if vowels >= 3 and word.endswith("ela"):
        return stem + "e"
    if word.endswith(("ala", "ana")) and (vowels >= 3 or word in ("gcwala", "lala", "sala", "thwala", "zala")):
        return stem[:-2] + "e" + stem[-1] + "e"
    if word.endswith("ama") and vowels >= 3:
        return stem[:-2] + "eme"
    return stem + "ile"


BE = ["bengi", "ubu", "ube", "besi", "beli", "bebe", "ibi", "abe", "bezi", "belu", "bebu", "beku"]
NGA = ["ngangi", "wawu", "waye", "sasi", "lali", "babe", "yayi", "aye", "zazi", "lwalu", "babu", "kwaku"]
RELATIVE_NGA = ["engangi", "owawu", "owaye", "esasi", "elali", "ababe", "eyayi", "aye", "ezazi",
                "olwalu", "obabu", "okwaku"]
SE = ["sengi", "usu", "use", "sesi", "seli", "sebe", "isi", "ase", "sezi", "selu", "sebu", "seku"]


def ku_before(word):
    return {"a": "kw", "e": "kw", "o": "k"}.get(word[:1], "")


# Verbs of everyday text, which get every tense of the list; the others get the
# commonest ones. The extended verbs here are not lexicon lines of their own
# (the analyser derives them), so they are named in full.
COMMON_VERBS = set("""
thi ba tsho hamba bona enza azi fika funa khuluma thola thatha buya ya za hlala sebenza fumana
funda bhala loba dla natha pha nika phila fa ma qala qeda phela phuma ngena vela sala suka
khangela bheka linda tshela buza biza zwa thanda zonda zama cabanga qonda khumbula libala lala
vuka vula vala thenga letha beka faka khupha tshiya hlangana xoxa dlala cula gida bonga cela vuma
ala lwa bulala sinda siza nceda sekela landa akha khula gula khathala jabula hleka khala tshaya
tshintsha guqula lunga themba kholwa thandaza khonza tshumayela phendula bika chaza tshengisa
hlonipha vikela lahla phosa thuma sungula veza dinga swela vama hluleka ehlula ehla enyuka khwela
gijima baleka lima fuya qhuba hlupha dabula amukela esaba bamba busa
fundisa thengisa lungisa thumela landela sebenzisa bonisa fanela mela hambela buyela lahleka
enzeka khulisa tshisa khathaleka azisa fakela qhubeka bonakala enzakala tholakala zwakala
""".split())
BASIC_SUBJECTS = ["ngi", "u", "si", "ba", "i", "zi", "ku", "a", "li"]


def basic_verb_forms(out, stem, final, attribute, passives):
    """The commonest forms of a less frequent verb."""
    word = stem + final
    neg = stem + ("i" if final == "a" else final)
    past_neg = stem + ("anga" if final in "ai" else "ongo")
    perf = perfect(stem, final)
    if attribute != "PassiveOnly":
        out.add(join("uku", word), "ngo" + join("ku", word), "lo" + join("ku", word),
                formative("ya", join("uku", word)), formative("kwa", join("uku", word)))
        for sc in BASIC_SUBJECTS:
            out.add(join(sc, word), join(sc + "ya", word))
            if perf:
                out.add(join(sc, perf))
        for p in ("wa", "ba", "kwa", "nga", "sa", "ya", "za"):
            out.add(join(p, word))
        for n in ("angi", "aba", "aku", "asi"):
            out.add(join(n, neg), join(n, past_neg))
        for r in ("o", "aba", "oku", "e", "ezi"):
            out.add(relative_join(r, word) + "yo")
        out.add(join("e", word))
    if attribute == "Reflexive" or stem.endswith("w"):
        return
    base, glide = passive_base(stem, final, passives)
    pw = base + glide + ("o" if final == "o" else "a")
    out.add(join("uku", pw), join("ku", pw), join("u", pw), join("kwa", pw), join("wa", pw))


def verb_forms(out, stem, final, attribute, passives):
    word = stem + final
    if word not in COMMON_VERBS:
        basic_verb_forms(out, stem, final, attribute, passives)
        return
    vowel_initial = stem[0] in VOWELS
    perf = perfect(stem, final)
    if attribute != "PassiveOnly":
        neg = stem + ("i" if final == "a" else final)
        past_neg = stem + ("anga" if final in "ai" else "ongo")
        subj = stem + ("e" if final == "a" else final)
        out.add(join("uku", word), "ngo" + join("ku", word), "lo" + join("ku", word))
        for q in ("wa", "ba", "ya", "sa", "za", "kwa"):
            out.add(formative(q, join("uku", word)))
        if final == "a" and sum(c in VOWELS for c in word) > 1:
            out.add("e" + join("ku", stem + "eni"))
        for sc in SUBJECT:
            out.add(join(sc, word), join(sc + "ya", word), join(sc, subj), join(sc + "nga", word))
            out.add(sc + "za" + ku_before(word) + word, sc + "zaku" + word if not vowel_initial
                    else sc + "zak" + join("u", word))
            out.add(sc + "zo" + ku_before(word) + word)
            if perf:
                out.add(join(sc, perf))
        for se in SE:
            if not (vowel_initial and se == "usu"):
                out.add(join(se, word))
        out.add(join("e", word), join("be", word))
        for p in PAST:
            out.add(join(p, word))
        for n in NEGATIVE:
            for w in (join(n, neg), join(n, past_neg)):
                out.add(w, "k" + w)
        if not vowel_initial:
            out.add("a" + neg, "ka" + neg, "a" + past_neg, "ka" + past_neg)
        for r in RELATIVE if not vowel_initial else RELATIVE[:-1]:
            out.add(relative_join(r, word), relative_join(r, word) + "yo")
            if perf:
                out.add(relative_join(r, perf) + "yo")
        # Past continuous and its relative (wayehamba, owayehamba, bekuhamba).
        for c in NGA + BE + RELATIVE_NGA:
            out.add(join(c, word), join(c + "nga", neg))
            if perf:
                out.add(join(c, perf), join(c + "nga", perf))
        # Still doing (usahamba, abasahambayo) and the negative perfect (kungakhathalekile).
        for sc in SUBJECT:
            out.add(join(sc + "sa", word))
            if perf:
                out.add(join(sc + "nga", perf))
        for r in RELATIVE[:-1]:
            out.add(r + "sa" + word + "yo" if not vowel_initial else join(r + "sa", word) + "yo")
        if not vowel_initial and sum(c in VOWELS for c in word) > 1 and final == "a":
            out.add(word, stem + "ani")
    if attribute == "Reflexive" or stem.endswith("w"):
        return
    base, glide = passive_base(stem, final, passives)
    pw = base + glide + ("o" if final == "o" else "a")
    out.add(join("uku", pw))
    for sc in SUBJECT:
        out.add(join(sc, pw), join(sc + "ya", pw))
        if perf == stem + "ile":
            out.add(join(sc, base + "iwe"))
    for p in PAST:
        out.add(join(p, pw))
    for r in RELATIVE:
        out.add(relative_join(r, pw), relative_join(r, pw) + "yo")
    for c in NGA + BE + RELATIVE_NGA:
        out.add(join(c, pw))


def noun_variants(tag, prefix, stem):
    """(prefix, stem) of each number of a noun, as the analyser inflects it."""
    plural = {
        "um/aba": "ab" if stem[0] in VOWELS else "aba",
        "um/ama": "ama", "ili/ama": "ama", "in/ama": "ama", "um/imi": "imi",
        "isi/izi": prefix[0] + "z" + prefix[2:] if len(prefix) > 1 else None,
        "u/o": "o", "u/o/ama": "o",
    }
    result = [(prefix, stem)]
    if tag == "in/izin":
        result.append(("iz" + prefix, stem))
    elif tag == "ulu/izin":
        p = "izim" if stem[0] in "bfpv" else "izin"
        s = stem[0] + stem[2:] if len(stem) > 1 and stem[1] == "h" else stem
        if s[0] == "n":
            p = p[:-1]
        result.append((p, s))
    elif tag in plural and plural[tag]:
        s = stem
        if tag == "in/ama" and prefix == "in" and stem.startswith("k"):
            s = "kh" + stem[1:]
        result.append((plural[tag], s))
        if tag == "u/o/ama":
            result.append(("ama", stem))
    return result


def noun_forms(out, tag, prefix, stem, final, attribute):
    short = "ShortLocative" in attribute
    explicit = None
    if "Locative:" in attribute:
        explicit = attribute.split("Locative:", 1)[1].split("/")
    kinship = tag in ("u/o", "u/o/ama", "u")
    for number, (p, s) in enumerate(noun_variants(tag, prefix, stem)):
        noun = p + s + final
        out.add(noun)
        for f in ("la", "nga"):
            out.add(formative(f, noun))
        if tag == "uku":
            out.add("yi" + noun[1:])
            continue
        out.add(("ng" if noun[0] in "uao" else "y") + noun)
        if kinship:
            if number == 0:
                out.add("ku" + s + final, "ka" + s + final)
            continue
        for q in POSSESSIVE:
            out.add(formative(q, noun))
        if tag in ("um/aba", "um/ama") or (tag == "person"):
            out.add("ku" + p[1:] + s + final)
            continue
        if explicit is not None:
            continue
        if short:
            loc = "e" + p[1:] + s + final
        elif tag in ("ulu/izin", "ulu") and number == 0:
            loc = locative("", s, final)
            loc = loc and "o" + loc[1:]
        else:
            loc = locative(p[1:], s, final)
        if loc:
            out.add(loc)
            for q in ("wa", "ya", "kwa"):
                out.add(q + "s" + loc)
    for loc in explicit or []:
        out.add(loc)
        for q in ("wa", "ba", "ya", "la", "sa", "za", "kwa"):
            out.add(q + "s" + loc)


ADJ_CONCORDS = ["aba", "emi", "eli", "ama", "esi", "olu", "obu", "oku"]


def adjective_forms(out, a):
    one_vowel = sum(c in VOWELS for c in a) == 1
    nasal = a[0] + a[2:] if len(a) > 1 and a[1] == "h" else a
    if nasal.startswith("n"):
        nasal = nasal[1:]
    if a[0] in "bf":
        nasals = ["em" + a, "ezim" + a]
    elif a[0] in "lmnyw" and nasal == a:
        nasals = []
    else:
        nasals = ["en" + nasal, "ezin" + nasal]
    om = ("omu" if one_vowel else "om") + a
    for w in [c + a for c in ADJ_CONCORDS] + [om] + nasals:
        out.add(w, formative("la", w), "ng" + w)
    for c in ("ba", "mi", "li", "ma", "si", "lu", "bu", "ku"):
        out.add(c + a)
    if nasals:
        out.add("i" + nasals[0][1:], nasals[1][1:])
    out.add(("mu" if one_vowel else "m") + a)


def relative_forms(out, r):
    if r == "mele":
        out.add("ku" + r, "oku" + r, "kwaku" + r, "beku" + r, "aku" + r, "kaku" + r, "seku" + r)
        return
    for c in ("o", "aba", "esi", "eli", "e", "ezi", "olu", "obu", "oku", "a"):
        out.add(c + r, formative("la", c + r))
    for sc in SUBJECT:
        out.add(sc + r)
    out.add(r, "kwaku" + r, "beku" + r, "aku" + r, "kaku" + r)


SURNAMES = {"Ncube", "Moyo", "Sibanda", "Dube", "Ndlovu", "Nkomo", "Mpofu", "Tshuma", "Khumalo",
            "Mathe", "Mlilo", "Nyathi", "Sithole", "Hadebe", "Masuku", "Mkhwananzi", "Mabhena",
            "Ngwenya", "Mahlangu", "Gumede", "Mthethwa", "Nxumalo", "Maphosa", "Mguni", "Mhlanga",
            "Mthimkhulu", "Tshabalala", "Nkala", "Gumbo", "Phiri", "Sigogo", "Mathema", "Mlotshwa",
            "Sibindi", "Siziba", "Mafu", "Mpala", "Ndiweni", "Hlabangana", "Dlodlo", "Mkandla",
            "Nyoni", "Mahlaba", "Khuphe", "Mlambo", "Ndebele", "Nkosi", "Vundla"}


def defective_forms(out, stem, final):
    word = stem + final
    if stem == "mus":
        out.add(word, word + "ni")
        return
    if stem in ("soz", "zang", "zak"):
        for n in NEGATIVE + ["a"]:
            out.add(n + word, "k" + n + word)
        return
    if stem in ("z", "k", "suk", "vel", "lokh", "sand", "phos", "hl", "ngek", "ngez"):
        for sc in SUBJECT:
            out.add(sc + word)
    if stem in ("z", "k", "phos", "hl"):
        for p in PAST:
            out.add(p + word)
    if stem in ("z",):
        for n in NEGATIVE:
            out.add(n + "ka" + word, "k" + n + "ka" + word)
        out.add("kaze")


def closed_class(out):
    pronouns = ["mina", "wena", "yena", "thina", "lina", "bona", "wona", "yona", "lona", "sona",
                "zona", "khona", "bona"]
    for p in pronouns:
        out.add(p, "la" + p[:-2], "nga" + p[:-2])
    out.add("lami", "lawe", "laye", "lathi", "lani", "labo", "lawo", "layo", "lalo", "laso", "lazo",
            "lakho", "ngami", "ngawe", "ngaye", "ngathi", "ngani", "ngabo", "ngawo", "ngayo", "ngalo",
            "ngaso", "ngazo", "ngakho", "kimi", "kuwe", "kuye", "kithi", "kini", "kubo", "kuwo",
            "kuyo", "kulo", "kuso", "kuzo", "kukho", "nguye", "nguwe", "yimi", "yithi", "yini",
            "yibo", "yiwo", "yiyo", "yilo", "yiso", "yizo", "yikho", "yilokhu", "yilokho")
    stems = ["mi", "kho", "khe", "ithu", "inu", "bo", "wo", "yo", "lo", "so", "zo"]
    for q in POSSESSIVE:
        for s in stems:
            if s[0] == "i":
                out.add(q[:-1] + "e" + s[1:])
            else:
                out.add(q + s)
    for q in ("owa", "aba", "eya", "ela", "esa", "eza", "olwa", "okwa", "oba"):
        for s in stems:
            out.add(q[:-1] + "e" + s[1:] if s[0] == "i" else q + s)
    demonstratives = ["lo", "lowo", "lowaya", "laba", "labo", "labaya", "le", "leyo", "leyaya",
                      "leli", "lelo", "leliya", "la", "lawo", "lawaya", "lesi", "leso", "lesiya",
                      "lezi", "lezo", "leziya", "lolu", "lolo", "loluya", "lobu", "lobo", "lobuya",
                      "lokhu", "lokho", "lokhuya"]
    for d in demonstratives:
        out.add(d, "ku" + d, "nga" + d, "la" + d, "yi" + d)
    for q in ("o", "bo", "yo", "lo", "so", "zo", "ko", "wo"):
        out.add(q + "nke")
    out.add("sonke", "lonke", "bonke", "wonke", "yonke", "zonke", "konke", "onke", "sisonke",
            "lilonke", "babonke", "lokhu", "lokho", "yikho", "ngakho", "ngalokho", "ngalokhu")
    for s in ("nge", "we", "ye", "so", "lo", "bo", "wo", "yo", "zo", "ko"):
        out.add(s + "dwa")
    # Ordinals: owesibili, wesithathu (the second, of the third), ngokwesibili (secondly).
    for number in ("bili", "thathu", "ne", "hlanu", "thupha", "khombisa", "tshumi"):
        for q in POSSESSIVE + ["owa", "aba", "eya", "ela", "esa", "eza", "olwa", "okwa"]:
            out.add(q[:-1] + "esi" + number)
        out.add("ngokwesi" + number)
    out.add("ngokokuqala")
    # Passives of thi (say): kuthiwa, kwathiwa, kuthiwe, and the spoken kuthwa.
    for c in ("ku", "kwa", "kwaku", "beku", "oku", "okwa", "okwaku", "seku"):
        out.add(c + "thiwa", c + "thwa")
    out.add("kuthiwe", "kwakuthiwe", "okuthiwe")
    out.add("kusile", "sekusile", "okokuqala", "kwasekuqaleni", "ekuqaleni", "okwesibili", "okwesithathu")
    # Kinship nouns with a possessive stem: umfowethu, umnawakhe, abantwabakhe.
    kin = {"umfowa": "abafowa", "umnawa": "abanawa", "umntana": "abantwa", "udadewa": "odadewa",
           "umnewa": "abanewa"}
    own = ["mi", "kho", "khe", "ithu", "inu", "bo"]
    for singular, plural in kin.items():
        for name, concord in ((singular, "ba"), (plural, "ba")):
            for stem in own:
                word = (name[:-1] + "e" + stem[1:]) if stem[0] == "i" else name + stem
                if name == "abantwa":
                    word = (name + concord[:-1] + "e" + stem[1:]) if stem[0] == "i" else name + concord + stem
                out.add(word, formative("la", word), formative("nga", word), "ku" + word[1:],
                        formative("kwa", word), "ng" + word if word[0] in "uao" else "y" + word)
    for p in ("ngu", "mpa", "nku", "nsi", "nti", "nka", "nzi", "ntu"):
        out.add("na" + p)
    out.add("nangu", "nanti", "nanku", "nansi", "nanzi", "nampa", "nanka", "nango", "nanko",
            "nanso", "nanto", "nanzo", "nampo")
    for sc in SUBJECT:
        out.add(sc + "phi")
    out.add("ngaphi", "kuphi", "yiphi", "ngubani", "bani", "yini", "ngani", "nini", "njani",
            "ungubani", "kungani", "kuyini", "kukhona", "akukho", "kakukho",
            "kwakukhona", "bekukhona", "kunjalo", "kunje", "kanjalo", "ngokunjalo", "kodwa-ke",
            "ngakho-ke", "kambe", "kanti", "kantike", "lanxa", "njalo", "ukuthi", "ukuba",
            "kunye", "kubili", "kuthathu", "kune", "kuhlanu", "isithupha", "isikhombisa",
            "isificaminwembili", "isificamunwemunye", "itshumi", "amatshumi", "ikhulu",
            "inkulungwane", "ngakwesokunene", "ngakwesokhohlo", "oPhezukonke", "umka", "hatshi",
            "yebo", "ehe", "awu", "hawu", "salibonani", "sawubona", "linjani", "unjani",
            "ngiyaphila", "siyaphila", "sikhona", "ngikhona", "ngiyabonga", "siyabonga",
            "kulungile", "uxolo", "hambani", "hamba", "sala", "salani", "lihambe", "uhambe",
            "kuhle", "kubi", "kunzima", "kulula", "kumnandi", "kubuhlungu",
            "ngeke", "angeke", "kangeke", "akusoze", "kasoze", "ngitsho", "sitsho", "kutsho",
            "ngokutsho", "njengokutsho", "okutsho", "uMnu", "uNkosikazi", "uNkosazana",
            "uMnumzana", "koBulawayo", "woza", "wozani", "yima", "hambakahle", "salakahle",
            "ngiyakuthanda", "angizwa", "insuku", "inyawo", "ntambama", "ihora", "amahora",
            "ipensile")


def main():
    path = Path(sys.argv[1] if len(sys.argv) > 1 else Path(__file__).resolve().parent.parent / "data" / "dictionary.txt")
    passives = {}
    passives_path = path.parent / "passives.txt"
    if passives_path.is_file():
        for line in passives_path.read_text(encoding="cp1252").splitlines():
            if not line or line.startswith(";"):
                continue
            verb, _, irregular = line.partition(",")
            strip = lambda w, n: (w[3:] if w[2:3] in ("u", "w") else w[2:])[:-n]
            passives[strip(verb, 1)] = strip(irregular, 2) if irregular else ""
    out = Forms()
    closed_class(out)
    # The enclitic -ke (then, so) is written with a hyphen after common words: kodwa-ke.
    enclitic_hosts = {"kwathi", "wathi", "bathi", "kube", "kunjalo", "kunje", "yikho", "lapho",
                      "lapha", "lokho", "lokhu", "lelo", "leli", "ngakho", "ngalokho", "kodwa",
                      "njalo", "kanti", "kufanele", "kufanelekile", "kuhle", "kulungile",
                      "yindlela", "khathesi", "manje", "nxa", "uba", "ukuthi", "ngoba"}
    for extended in COMMON_VERBS:
        verb_forms(out, extended[:-1], extended[-1], "", passives)
    for line in path.read_text(encoding="cp1252").splitlines():
        if not line or line.startswith(";"):
            continue
        fields = line.split(",")
        if len(fields) < 3:
            continue
        tag, word, attribute = fields[0], fields[1], fields[2]
        if tag in ("adj",):
            adjective_forms(out, word)
            continue
        if tag == "rel":
            relative_forms(out, word)
            continue
        if tag in ("conj", "special"):
            out.add(word)
            enclitic_hosts.add(word)
            continue
        prefix, _, rest = word.partition("-")
        stem, final = rest[:-1], rest[-1:]
        if tag == "verb":
            verb_forms(out, stem, final, attribute, passives)
        elif tag == "adv":
            out.add(prefix + rest)
            enclitic_hosts.add(prefix + rest)
        elif tag == "defverb":
            defective_forms(out, stem, final)
        elif tag == "place":
            name = stem + final
            out.add(name, "e" + name, "yi" + name, "le" + name)
            for q in ("wa", "ba", "ya", "la", "sa", "za", "kwa", "lwa"):
                out.add(q + "se" + name)
        elif tag == "person":
            name = stem + final
            out.add(name, "u" + name, "ka" + name, "ku" + name, "ngu" + name, "lo" + name,
                    "ngo" + name)
            if name in SURNAMES:
                out.add("o" + name, "uMa" + name, "kaMa" + name, "loMa" + name)
        else:
            noun_forms(out, tag, prefix, stem, final, attribute)
    enclitic_hosts.discard("manje")
    out.add(*[host + "-ke" for host in enclitic_hosts])
    for w in sorted(out.words, key=lambda s: (s.lower(), s)):
        if w.endswith("-"):
            continue
        print(w)


if __name__ == "__main__":
    main()
