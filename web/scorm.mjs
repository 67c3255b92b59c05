// The single-file page as a SCORM 1.2 package (build-web/vexilon-scorm.zip) that learning
// platforms import: imsmanifest.xml with one SCO launching vexilon.html, and the page itself.
// The zip is written here with node's deflate, so the build needs no archiver.
import {deflateRawSync} from 'node:zlib';

const kCrcTable = Array.from({length: 256}, (_, n) => {
    let c = n;
    for (let k = 0; k < 8; ++k)
        c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
    return c >>> 0;
});
function crc32(bytes) {
    let c = 0xffffffff;
    for (const b of bytes)
        c = kCrcTable[(c ^ b) & 0xff] ^ (c >>> 8);
    return (c ^ 0xffffffff) >>> 0;
}

const escapeXml = text => text.replace(/[<>&"]/g, c => ({'<': '&lt;', '>': '&gt;', '&': '&amp;', '"': '&quot;'})[c]);

export function scormManifest(version) {
    return `<?xml version="1.0" encoding="UTF-8"?>
<manifest identifier="vexilon-${escapeXml(version)}" version="1.2"
          xmlns="http://www.imsproject.org/xsd/imscp_rootv1p1p2"
          xmlns:adlcp="http://www.adlnet.org/xsd/adlcp_rootv1p2">
  <metadata>
    <schema>ADL SCORM</schema>
    <schemaversion>1.2</schemaversion>
  </metadata>
  <organizations default="vexilon">
    <organization identifier="vexilon">
      <title>Vexilon: superficies en tres dimensiones</title>
      <item identifier="vexilon-pagina" identifierref="vexilon-sco" isvisible="true">
        <title>Vexilon</title>
      </item>
    </organization>
  </organizations>
  <resources>
    <resource identifier="vexilon-sco" type="webcontent" adlcp:scormtype="sco" href="vexilon.html">
      <file href="vexilon.html"/>
    </resource>
  </resources>
</manifest>
`;
}

// A zip of [name, bytes] entries, deflated, with a fixed date so the same page gives the same bytes.
export function zip(entries) {
    const parts = [], central = [];
    let offset = 0;
    const kDosTime = 0, kDosDate = (2020 - 1980) << 9 | 1 << 5 | 1;
    for (const [name, data] of entries) {
        const bytes = Buffer.from(data);
        const packed = deflateRawSync(bytes, {level: 9});
        const fileName = Buffer.from(name, 'utf8');
        const fields = (header, extra) => {
            header.writeUInt16LE(20, extra);            // version needed: deflate
            header.writeUInt16LE(0x0800, extra + 2);    // names in UTF-8
            header.writeUInt16LE(8, extra + 4);         // deflate
            header.writeUInt16LE(kDosTime, extra + 6);
            header.writeUInt16LE(kDosDate, extra + 8);
            header.writeUInt32LE(crc32(bytes), extra + 10);
            header.writeUInt32LE(packed.length, extra + 14);
            header.writeUInt32LE(bytes.length, extra + 18);
            header.writeUInt16LE(fileName.length, extra + 22);
        };
        const local = Buffer.alloc(30);
        local.writeUInt32LE(0x04034b50, 0);
        fields(local, 4);
        const entry = Buffer.alloc(46);
        entry.writeUInt32LE(0x02014b50, 0);
        entry.writeUInt16LE(20, 4);                     // made by: version 2.0
        fields(entry, 6);
        entry.writeUInt32LE(offset, 42);
        parts.push(local, fileName, packed);
        central.push(entry, fileName);
        offset += local.length + fileName.length + packed.length;
    }
    const directory = Buffer.concat(central);
    const end = Buffer.alloc(22);
    end.writeUInt32LE(0x06054b50, 0);
    end.writeUInt16LE(entries.length, 8);
    end.writeUInt16LE(entries.length, 10);
    end.writeUInt32LE(directory.length, 12);
    end.writeUInt32LE(offset, 16);
    return Buffer.concat([...parts, directory, end]);
}
