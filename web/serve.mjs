// Serves a folder on 127.0.0.1 for the page: the address on standard output, files only from it.
// A file's precompressed copy beside it (FILE.br, FILE.gz) is sent to a browser that takes it, and
// every answer carries validators, so a revisit costs a 304 and no bytes.
// Usage: node serve.mjs DIR [PORT]   (PORT 0: any free one)
import {createServer} from 'node:http';
import {createReadStream, statSync} from 'node:fs';
import {extname, join, normalize, resolve, sep} from 'node:path';

const root = resolve(process.argv[2] ?? '.');
const port = process.argv[3] === undefined ? 8080 : Number(process.argv[3]);
if (!Number.isInteger(port) || port < 0 || port > 65535) {
    console.error(`vexilon: bad port '${process.argv[3]}': a whole number from 0 to 65535 is accepted`);
    process.exit(2);
}
const kTypes = {'.html': 'text/html; charset=utf-8', '.css': 'text/css; charset=utf-8', '.js': 'text/javascript; charset=utf-8',
                '.wasm': 'application/wasm', '.svg': 'image/svg+xml', '.toml': 'application/toml'};
// The encodings kept beside a file, the better first.
const kEncodings = [['br', '.br'], ['gzip', '.gz']];

// Whether the Accept-Encoding header takes coding (not refused with q=0).
function accepts(header, coding) {
    return (header ?? '').split(',').some(part => {
        const [name, ...params] = part.trim().split(';');
        const q = params.map(p => p.trim()).find(p => p.startsWith('q='));
        return name.trim().toLowerCase() === coding && !(q && Number(q.slice(2)) === 0);
    });
}
const fileStat = path => { try { return statSync(path); } catch { return null; } };

// The file to send for path: its precompressed copy when the browser takes it and it is as new.
function chooseVariant(path, stat, acceptEncoding) {
    for (const [coding, suffix] of kEncodings) {
        const copy = fileStat(path + suffix);
        if (copy?.isFile() && copy.mtimeMs >= stat.mtimeMs && accepts(acceptEncoding, coding))
            return {path: path + suffix, size: copy.size, coding};
    }
    return {path, size: stat.size, coding: ''};
}

// The plain file's date and size name its content; the encoding tells its copies apart.
const tagBase = stat => `${Math.floor(stat.mtimeMs).toString(36)}-${stat.size.toString(36)}`;

function notModified(request, stat, base) {
    const match = request.headers['if-none-match'];
    if (match !== undefined)
        return match.split(',').some(tag => tag.trim().replace(/^W\//, '').replace(/^"|"$/g, '').split('.')[0] === base);
    const since = Date.parse(request.headers['if-modified-since'] ?? '');
    return Number.isFinite(since) && Math.floor(stat.mtimeMs / 1000) * 1000 <= since;
}

const server = createServer((request, response) => {
    let path;
    try {   // a path such as "//x" or "/%ff" is no file: refused, never the server's end
        path = normalize(join(root, decodeURIComponent(new URL(request.url, 'http://localhost').pathname)));
    } catch {
        response.writeHead(400).end();
        return;
    }
    if (path !== root && !path.startsWith(root + sep)) {
        response.writeHead(403).end();
        return;
    }
    let stat = fileStat(path);
    if (stat?.isDirectory()) {
        path = join(path, 'index.html');
        stat = fileStat(path);
    }
    if (!stat?.isFile() || kEncodings.some(([, suffix]) => path.endsWith(suffix))) {
        response.writeHead(404, {'Content-Type': 'text/plain; charset=utf-8'}).end('No existe.\n');
        return;
    }
    const variant = chooseVariant(path, stat, request.headers['accept-encoding']);
    const base = tagBase(stat);
    const headers = {'Cache-Control': 'no-cache', 'ETag': `"${base}${variant.coding ? '.' + variant.coding : ''}"`,
                     'Last-Modified': stat.mtime.toUTCString(), 'Vary': 'Accept-Encoding'};
    if (notModified(request, stat, base)) {
        response.writeHead(304, headers).end();
        return;
    }
    Object.assign(headers, {'Content-Type': kTypes[extname(path)] ?? 'application/octet-stream', 'Content-Length': variant.size});
    if (variant.coding)
        headers['Content-Encoding'] = variant.coding;
    response.writeHead(200, headers);
    if (request.method === 'HEAD')
        response.end();
    else
        createReadStream(variant.path).on('error', () => response.destroy()).pipe(response);
});
server.on('error', error => {
    console.error(`vexilon: cannot serve on 127.0.0.1:${port}: ${error.message}`);
    process.exit(1);
});
server.listen(port, '127.0.0.1', () => console.log(`http://127.0.0.1:${server.address().port}/`));
