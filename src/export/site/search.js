// Finds pages by caption and text in the index soegeindeks.js loads; every word asked for must occur.
(function () {
    var query = new URLSearchParams(window.location.search).get("q") || "";
    var box = document.getElementById("q");
    var list = document.getElementById("resultater");
    var status = document.getElementById("status");
    box.value = query;
    var words = query.toLowerCase().split(/\s+/).filter(function (w) { return w.length > 0; });
    if (words.length === 0) {
        status.textContent = "Skriv et eller flere ord.";
        return;
    }
    var found = 0;
    (window.soegeindeks || []).forEach(function (entry) {
        var haystack = entry[0].toLowerCase() + " " + entry[2];
        var all = words.every(function (w) { return haystack.indexOf(w) >= 0; });
        if (!all)
            return;
        found += 1;
        if (found > 200)
            return;
        var item = document.createElement("li");
        var link = document.createElement("a");
        link.href = entry[1];
        link.textContent = entry[0];
        item.appendChild(link);
        list.appendChild(item);
    });
    status.textContent = found === 0 ? "Ingen sider fundet." : found === 1 ? "1 side fundet." : found + " sider fundet.";
})();
