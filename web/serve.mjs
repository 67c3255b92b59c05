// Serves a folder on 127.0.0.1 for the page: the address on standard output, files only from it.
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
    try {
        if (statSync(path).isDirectory())
            path = join(path, 'index.html');
        const size = statSync(path).size;
        response.writeHead(200, {'Content-Type': kTypes[extname(path)] ?? 'application/octet-stream', 'Content-Length': size,
                                 'Cache-Control': 'no-cache'});
        if (request.method === 'HEAD')
            response.end();
        else
            createReadStream(path).pipe(response);
    } catch {
        response.writeHead(404, {'Content-Type': 'text/plain; charset=utf-8'}).end('No existe.\n');
    }
});
server.on('error', error => {
    console.error(`vexilon: cannot serve on 127.0.0.1:${port}: ${error.message}`);
    process.exit(1);
});
server.listen(port, '127.0.0.1', () => console.log(`http://127.0.0.1:${server.address().port}/`));
